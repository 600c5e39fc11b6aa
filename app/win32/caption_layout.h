#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "app/win32/control_entry.h"

#include <windows.h>

// Where a label's caption is drawn. A caption written as the background of a line, such as
// "y =" + 20 blanks + "x +" with a box in the blanks, puts the text after its last long run of
// blanks just right of that box, whatever the width of a blank in the font at hand.
struct CaptionLayout {
    std::vector<int> ends; // right edge of each character, from the label's left edge
    std::size_t tail;      // first character drawn at tailX; the caption's length if none
    int tailX;
};

// With the font selected into dc; label is one of layout, the window's controls as placed.
CaptionLayout layOutCaption(HDC dc, const ControlEntry& label,
                            std::span<const ControlEntry> layout);

// True when no character other than a blank lies beyond the label or beneath a box or button.
bool captionReadable(const CaptionLayout& caption, const ControlEntry& label,
                     std::span<const ControlEntry> layout);
