#pragma once

#include "operations/control_names.h"

// A box of the window and the caption beside it, as the technician reads it.
struct CaptionedBox {
    BoxName box;
    const char* caption;
};
