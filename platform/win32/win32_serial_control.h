#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "serial/line_settings.h"
#include "serial/serial_control.h"

// What an error on an open port's handle says: drivers report a removed adapter with any of
// several errors. (On opening, access denied is a port held by another program.)
SerialFailure failureOnOpenPort(unsigned long code);

// MSComm5 over the COM port's own handle (\\.\COMn, so COM10..COM128 open too).
//
// Arrival of bytes is signalled by a one-byte overlapped read kept pending on the open port:
// its event is receiveEvent(), which the event pump sleeps on. (Under Wine, WaitCommEvent for
// EV_RXCHAR ends at once, cancelled, on a port without modem lines such as a pseudo-terminal,
// so a wait on it would spin.)
// Whatever has arrived is collected when a property is used; a failure of the port while it
// is open (adapter pulled) is raised by every later use until the port is closed.
//
// No use waits without a limit: a write that has not ended after its bytes' wire time and a
// margin is cancelled and fails, and a cancel that does not end in time leaves the port stuck:
// closing then lets its handle go (with the memory the driver may still write to) and fails.
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

    // How long a write of size bytes may take at the line's speed before it counts as hung.
    DWORD writeLimitMs(std::size_t size) const;
    // The longest wait for a cancelled transfer to end.
    static constexpr DWORD kCancelLimitMs = 1000;

private:
    // The transfers of one open handle. The driver writes into them until each has ended, so
    // those of a handle let go with a transfer under way are never freed.
    struct Transfers {
        Transfers();
        ~Transfers();
        Transfers(const Transfers&) = delete;
        Transfers& operator=(const Transfers&) = delete;
        OVERLAPPED pendingRead{};
        char pendingByte = 0;
        OVERLAPPED transfer{}; // the writes and the reads of bytes already there
        std::string outgoing;
        std::string incoming;
    };

    [[noreturn]] void fail(DWORD code);
    void requireOpen();
    void applySettings();
    void collect(bool checkLine);
    DWORD queued();
    void drainQueue();
    bool armRead();
    bool ended(OVERLAPPED& io, DWORD limitMs);
    DWORD finish(OVERLAPPED& io, DWORD limitMs);
    void close();

    HANDLE port_ = INVALID_HANDLE_VALUE;
    HANDLE receiveEvent_;
    std::unique_ptr<Transfers> io_;
    bool readPending_ = false;
    // A cancelled transfer never ended: the handle is unusable and can only be let go.
    bool stuck_ = false;
    std::string received_;
    int16_t commPort_ = 1;
    LineSettings settings_;
};
