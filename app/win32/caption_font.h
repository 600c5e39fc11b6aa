#pragma once

#include <windows.h>

// The window's font at dpi dots per inch: the first Japanese UI face installed, at the largest
// size up to 8 points at which every label's caption can be read in full in the layout scaled
// to dpi. The caller deletes it.
HFONT createCaptionFont(UINT dpi);
