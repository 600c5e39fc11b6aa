#pragma once

#include <windows.h>

#include <string>

#include "serial/line_settings.h"
#include "serial/serial_control.h"

// MSComm5 over the COM port's own handle (\\.\COMn, so COM10..COM128 open too).
//
// Arrival of bytes is signalled by a one-byte overlapped read kept pending on the open port:
// its event is receiveEvent(), which the event pump sleeps on. (Under Wine, WaitCommEvent for
// EV_RXCHAR ends at once, cancelled, on a port without modem lines such as a pseudo-terminal,
// so a wait on it would spin.)
// Whatever has arrived is collected when a property is used; a failure of the port while it
// is open (adapter pulled) is raised by every later use until the port is closed.
class Win32SerialControl : public SerialControl {
public:
    Win32SerialControl();
    ~Win32SerialControl() override;
    Win32SerialControl(const Win32SerialControl&) = delete;
    Win32SerialControl& operator=(const Win32SerialControl&) = delete;

    void setCommPort(int16_t port) override;
    void setSettings(const std::string& settings) override;
    bool portOpen() override;
    void setPortOpen(bool open) override;
    int32_t inBufferCount() override;
    void setInBufferCount(int32_t count) override;
    void output(const std::string& text) override;
    std::string input() override;

    // Set when bytes arrive, once: the wait that wakes for it takes it, so bytes that nobody
    // collects (during a plain timed wait) do not wake every later pass. Valid for the
    // control's whole life.
    HANDLE receiveEvent() const { return receiveEvent_; }

private:
    [[noreturn]] void fail(const char* step, DWORD code, int number);
    [[noreturn]] void fail(const char* step, DWORD code) {
        fail(step, code, static_cast<int>(code));
    }
    void requireOpen();
    void applySettings();
    void collect();
    void drainQueue();
    bool armRead();
    void close();

    HANDLE port_ = INVALID_HANDLE_VALUE;
    HANDLE receiveEvent_;
    HANDLE transferEvent_; // for the writes and the reads of bytes already there
    OVERLAPPED pendingRead_{};
    bool readPending_ = false;
    char pendingByte_ = 0;
    std::string received_;
    int16_t commPort_ = 1;
    LineSettings settings_;
};
