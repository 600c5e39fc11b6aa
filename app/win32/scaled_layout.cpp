#include "app/win32/scaled_layout.h"

#include "app/win32/form1_layout.h"

std::vector<ControlEntry> layoutAt(UINT dpi) {
    std::vector<ControlEntry> layout(std::begin(form1::kControls), std::end(form1::kControls));
    for (ControlEntry& c : layout) {
        c.x = scaled(c.x, dpi);
        c.y = scaled(c.y, dpi);
        c.width = scaled(c.width, dpi);
        c.height = scaled(c.height, dpi);
    }
    return layout;
}
