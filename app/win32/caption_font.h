#pragma once

#include <windows.h>

// The window's font: the first Japanese UI face installed, at the largest size up to 8 points
// at which every label's caption can be read in full. The caller deletes it.
HFONT createCaptionFont();
