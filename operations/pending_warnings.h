#pragma once

#include "operations/panel.h"

// Shows the queued warnings of the operations, one box each, and clears them; does nothing
// while a transaction is open or the window is being unloaded. The window calls it at the
// edge of every event procedure.
void showPendingWarnings(Panel& p);
