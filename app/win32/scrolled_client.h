#pragma once

#include <vector>

#include "app/win32/control_entry.h"

#include <windows.h>

// The window's client area over the designer layout at the window's DPI, scrolled: on a
// screen lower or narrower than the design the scroll bars, the wheel and the Tab walk reach
// every control.
class ScrolledClient {
public:
    void setWindow(HWND window) { window_ = window; }
    // The layout at a new DPI; the distance scrolled keeps its place in the design.
    void setLayout(std::vector<ControlEntry> layout, UINT dpi);
    const std::vector<ControlEntry>& layout() const { return layout_; }

    // The scroll bars for the client area over the shown controls, then every control at its
    // place less the distance scrolled.
    void layOut();
    // WM_SIZE, WM_HSCROLL, WM_VSCROLL and WM_MOUSEWHEEL; false for any other message.
    bool handle(UINT message, WPARAM wParam);
    // The control the focus came to, scrolled into the client area with as much of its frame
    // as fits.
    void bringIntoView(HWND control);

private:
    void scroll(int bar, WORD request);

    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    // The controls' places at dpi_, in client pixels before scrolling.
    std::vector<ControlEntry> layout_;
    // How far the controls are scrolled left and up.
    int scrollX_ = 0;
    int scrollY_ = 0;
    // Showing or hiding a scroll bar resizes the client area while the controls are placed.
    bool layingOut_ = false;
};
