#pragma once

#include <windows.h>

#include <vector>

#include "serial/event_pump.h"

// One pass of a wait: dispatches the pending window messages or, when none is pending,
// sleeps until a watched event (bytes on the port), a message or the pass's deadline.
class Win32EventPump : public EventPump {
public:
    Win32EventPump();
    ~Win32EventPump() override;
    Win32EventPump(const Win32EventPump&) = delete;
    Win32EventPump& operator=(const Win32EventPump&) = delete;

    // An event that ends a sleep, such as the serial control's receive event.
    void watch(HANDLE event);
    // The main window: its messages go through IsDialogMessageW, so Tab walks the boxes; so do
    // those of a dialog opened during a wait.
    void setDialogWindow(HWND window);

    void processEvents(int64_t maxWaitMs) override;

private:
    bool dispatchPending();
    HWND dialogOf(HWND target) const;

    std::vector<HANDLE> events_;
    HWND dialog_ = nullptr;
};
