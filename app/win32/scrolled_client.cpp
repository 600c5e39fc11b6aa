#include "app/win32/scrolled_client.h"

#include <algorithm>

#include "app/win32/form1_layout.h"
#include "app/win32/layout_names.h"
#include "app/win32/scaled_layout.h"

namespace {

// Room between a revealed frame and the client area's edge when scrolled to the end.
constexpr int kMargin = 8;
// One click on a scroll bar's arrow, about a row of boxes; a wheel notch is three.
constexpr int kScrollLine = 24;
constexpr int kWheelLines = 3;

// One scroll bar over extent pixels of which page show; the position it keeps, within range.
int setScrollBar(HWND hwnd, int bar, int extent, int page, int position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = extent - 1;
    info.nPage = static_cast<UINT>(std::max(page, 0));
    info.nPos = position;
    return SetScrollInfo(hwnd, bar, &info, TRUE);
}

// The width of the shown vertical bar, or the height of the shown horizontal one; 0 if hidden.
int thickness(HWND hwnd, LONG bar) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(hwnd, bar, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0) {
        return 0;
    }
    const RECT& r = info.rcScrollBar;
    return bar == OBJID_VSCROLL ? r.right - r.left : r.bottom - r.top;
}

// How far to scroll so that start..end lies within 0..visible, its start first.
int distanceIntoView(int start, int end, int visible) {
    if (start < 0) {
        return start;
    }
    return end > visible ? std::min(end - visible, start) : 0;
}

} // namespace

void ScrolledClient::setLayout(std::vector<ControlEntry> layout, UINT dpi) {
    scrollX_ = MulDiv(scrollX_, static_cast<int>(dpi), static_cast<int>(dpi_));
    scrollY_ = MulDiv(scrollY_, static_cast<int>(dpi), static_cast<int>(dpi_));
    dpi_ = dpi;
    layout_ = std::move(layout);
}

void ScrolledClient::layOut() {
    if (layingOut_) {
        return;
    }
    layingOut_ = true;
    int width = scaled(form1::kClientWidth, dpi_);
    int height = scaled(form1::kClientHeight, dpi_);
    for (const ControlEntry& c : layout_) {
        if ((GetWindowLongW(GetDlgItem(window_, c.id), GWL_STYLE) & WS_VISIBLE) != 0) {
            width = std::max(width, c.x + c.width + scaled(kMargin, dpi_));
            height = std::max(height, c.y + c.height + scaled(kMargin, dpi_));
        }
    }
    RECT client{};
    GetClientRect(window_, &client);
    // Two bars that stand only for each other go.
    if (width <= client.right + thickness(window_, OBJID_VSCROLL) &&
        height <= client.bottom + thickness(window_, OBJID_HSCROLL)) {
        ShowScrollBar(window_, SB_BOTH, FALSE);
        GetClientRect(window_, &client);
    }
    // A bar shown narrows the client area for the other.
    RECT before{};
    do {
        before = client;
        scrollX_ = setScrollBar(window_, SB_HORZ, width, client.right, scrollX_);
        scrollY_ = setScrollBar(window_, SB_VERT, height, client.bottom, scrollY_);
        GetClientRect(window_, &client);
    } while (!EqualRect(&client, &before));
    HDWP placing = BeginDeferWindowPos(static_cast<int>(layout_.size()));
    for (const ControlEntry& c : layout_) {
        placing = DeferWindowPos(placing, GetDlgItem(window_, c.id), nullptr, c.x - scrollX_,
                                 c.y - scrollY_, c.width, c.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EndDeferWindowPos(placing);
    layingOut_ = false;
}

bool ScrolledClient::handle(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            layOut();
        }
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL:
        scrollY_ -=
            GET_WHEEL_DELTA_WPARAM(wParam) * kWheelLines * scaled(kScrollLine, dpi_) / WHEEL_DELTA;
        layOut();
        return true;
    default:
        return false;
    }
}

void ScrolledClient::scroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, bar, &info);
    int& position = bar == SB_HORZ ? scrollX_ : scrollY_;
    const int line = scaled(kScrollLine, dpi_);
    const int page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP:
        position -= line;
        break;
    case SB_LINEDOWN:
        position += line;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    layOut();
}

// Tab reaches every control on a screen lower or narrower than the design.
void ScrolledClient::bringIntoView(HWND control) {
    const auto placed = [&](int id) -> const ControlEntry& {
        return *std::ranges::find(layout_, id, &ControlEntry::id);
    };
    RECT client{};
    GetClientRect(window_, &client);
    const auto show = [&](const ControlEntry& c) {
        scrollX_ += distanceIntoView(c.x - scrollX_, c.x + c.width - scrollX_, client.right);
        scrollY_ += distanceIntoView(c.y - scrollY_, c.y + c.height - scrollY_, client.bottom);
    };
    const ControlEntry& focused = placed(GetDlgCtrlID(control));
    if (*focused.frame != L'\0') {
        show(placed(form1::idOf(focused.frame)));
    }
    show(focused);
    layOut();
}
