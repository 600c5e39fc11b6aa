#include "platform/win32/win32_event_pump.h"

#include <mmsystem.h>

#include <algorithm>

// Millisecond sleeps: the default timer tick (15.6 ms) would make every wait overshoot.
Win32EventPump::Win32EventPump() { timeBeginPeriod(1); }

Win32EventPump::~Win32EventPump() { timeEndPeriod(1); }

void Win32EventPump::watch(HANDLE event) { events_.push_back(event); }

void Win32EventPump::setDialogWindow(HWND window) { dialog_ = window; }

// True when at least one message was pending. A WM_QUIT is put back for the outermost
// message loop, which ends the program.
bool Win32EventPump::dispatchPending() {
    bool any = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return true;
        }
        if (dialog_ != nullptr && IsDialogMessageW(dialog_, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return any;
}

void Win32EventPump::processEvents(int64_t maxWaitMs) {
    if (dispatchPending() || maxWaitMs <= 0) {
        return;
    }
    const auto timeout = static_cast<DWORD>(std::min<int64_t>(maxWaitMs, INFINITE - 1));
    MsgWaitForMultipleObjectsEx(static_cast<DWORD>(events_.size()), events_.data(), timeout,
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    dispatchPending();
}
