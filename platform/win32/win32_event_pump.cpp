#include "platform/win32/win32_event_pump.h"

#include <mmsystem.h>

#include <algorithm>

// Millisecond sleeps: the default timer tick (15.6 ms) would make every wait overshoot.
Win32EventPump::Win32EventPump() { timeBeginPeriod(1); }

Win32EventPump::~Win32EventPump() { timeEndPeriod(1); }

void Win32EventPump::watch(HANDLE event) { events_.push_back(event); }

void Win32EventPump::setDialogWindow(HWND window) { dialog_ = window; }

// The dialog whose keys this message carries: the top-level window it belongs to when that is
// the main window or a dialog open in a wait (an input box, a message box), else none.
HWND Win32EventPump::dialogOf(HWND target) const {
    HWND top = target == nullptr ? nullptr : GetAncestor(target, GA_ROOT);
    if (top == nullptr) {
        return nullptr;
    }
    // The class of dialog boxes, the predefined "#32770".
    constexpr ULONG_PTR kDialogClass = 32770;
    if (top == dialog_ || GetClassLongPtrW(top, GCW_ATOM) == kDialogClass) {
        return top;
    }
    return nullptr;
}

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
        HWND owner = dialogOf(msg.hwnd);
        if (owner != nullptr && IsDialogMessageW(owner, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return any;
}

// One call into the system when bytes arrive, since a paced reply wakes the wait once a byte:
// the queue is read only when the wait says that a message is there. MWMO_INPUTAVAILABLE makes
// it return at once for a message already queued, so nothing pending is slept over.
void Win32EventPump::processEvents(int64_t maxWaitMs) {
    if (maxWaitMs <= 0) {
        dispatchPending();
        return;
    }
    const auto count = static_cast<DWORD>(events_.size());
    const auto timeout = static_cast<DWORD>(std::min<int64_t>(maxWaitMs, INFINITE - 1));
    const DWORD woke = MsgWaitForMultipleObjectsEx(count, events_.data(), timeout, QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
    if (woke < WAIT_OBJECT_0 + count || woke == WAIT_TIMEOUT) {
        return;
    }
    dispatchPending();
}
