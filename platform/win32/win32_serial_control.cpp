#include "platform/win32/win32_serial_control.h"

#include <utility>

#include "platform/win32/system_error.h"
#include "platform/win32/utf16.h"

namespace {

constexpr int kErrPortAlreadyOpen = 8005;
constexpr int kErrPortNotOpen = 8018;
constexpr int kErrInvalidValue = 380;

// The control's numbers for the two opening failures the program tells apart.
int openErrorNumber(DWORD code) {
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
        return kErrPortNotExist;
    }
    if (code == ERROR_ACCESS_DENIED) {
        return kErrPortAlreadyOpen;
    }
    return static_cast<int>(code);
}

BYTE parityOf(LineSettings::Parity parity) {
    switch (parity) {
    case LineSettings::Parity::Even:
        return EVENPARITY;
    case LineSettings::Parity::Odd:
        return ODDPARITY;
    case LineSettings::Parity::Mark:
        return MARKPARITY;
    case LineSettings::Parity::Space:
        return SPACEPARITY;
    case LineSettings::Parity::None:
        break;
    }
    return NOPARITY;
}

BYTE stopBitsOf(LineSettings::StopBits stopBits) {
    switch (stopBits) {
    case LineSettings::StopBits::OneAndHalf:
        return ONE5STOPBITS;
    case LineSettings::StopBits::Two:
        return TWOSTOPBITS;
    case LineSettings::StopBits::One:
        break;
    }
    return ONESTOPBIT;
}

} // namespace

Win32SerialControl::Win32SerialControl()
    : receiveEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      transferEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32SerialControl::~Win32SerialControl() {
    close();
    CloseHandle(transferEvent_);
    CloseHandle(receiveEvent_);
}

void Win32SerialControl::fail(const char* step, DWORD code, int number) {
    throw SerialError(number, "COM" + std::to_string(commPort_) + ": " + step + ": " +
                                  win32::systemDescription(code));
}

void Win32SerialControl::requireOpen() {
    if (port_ == INVALID_HANDLE_VALUE) {
        throw SerialError(kErrPortNotOpen, "COM" + std::to_string(commPort_) +
                                               ": Operation valid only while the port is open");
    }
}

void Win32SerialControl::setCommPort(int16_t port) {
    if (port_ != INVALID_HANDLE_VALUE) {
        throw SerialError(kErrPortAlreadyOpen,
                          "COM" + std::to_string(commPort_) + ": Port already open");
    }
    if (port < 1) {
        throw SerialError(kErrInvalidValue, "Invalid port number " + std::to_string(port));
    }
    commPort_ = port;
}

void Win32SerialControl::setSettings(const std::string& settings) {
    const auto parsed = parseLineSettings(settings);
    if (!parsed) {
        throw SerialError(kErrInvalidValue, "Invalid port settings: " + settings);
    }
    settings_ = *parsed;
    if (port_ != INVALID_HANDLE_VALUE) {
        applySettings();
    }
}

// Input always returns everything received; the length is kept for the record only.

// The line as set, without any flow control; reads wait for their bytes without a time limit.
void Win32SerialControl::applySettings() {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port_, &dcb)) {
        fail("configuring the port", GetLastError());
    }
    dcb.BaudRate = settings_.baud;
    dcb.ByteSize = settings_.dataBits;
    dcb.Parity = parityOf(settings_.parity);
    dcb.StopBits = stopBitsOf(settings_.stopBits);
    dcb.fBinary = TRUE;
    dcb.fParity = settings_.parity != LineSettings::Parity::None;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    COMMTIMEOUTS timeouts{};
    if (!SetCommState(port_, &dcb) || !SetCommTimeouts(port_, &timeouts)) {
        fail("configuring the port", GetLastError());
    }
}

bool Win32SerialControl::portOpen() { return port_ != INVALID_HANDLE_VALUE; }

void Win32SerialControl::setPortOpen(bool open) {
    if (!open) {
        close();
        return;
    }
    if (port_ != INVALID_HANDLE_VALUE) {
        throw SerialError(kErrPortAlreadyOpen,
                          "COM" + std::to_string(commPort_) + ": Port already open");
    }
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(commPort_);
    port_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
    if (port_ == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        fail("opening the port", code, openErrorNumber(code));
    }
    try {
        applySettings();
        collect();
    } catch (const SerialError&) {
        close();
        throw;
    }
}

void Win32SerialControl::close() {
    if (port_ == INVALID_HANDLE_VALUE) {
        return;
    }
    if (readPending_) {
        CancelIo(port_);
        DWORD ignored = 0;
        GetOverlappedResult(port_, &pendingRead_, &ignored, TRUE);
        readPending_ = false;
    }
    CloseHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
    ResetEvent(receiveEvent_);
    received_.clear();
}

// Moves everything that has arrived into received_ and leaves a read pending for the next
// byte. After a failure no read is pending, so the event stays clear and a wait sleeps;
// every later use asks the port again and fails again until the port is closed.
void Win32SerialControl::collect() {
    try {
        if (readPending_) {
            DWORD count = 0;
            if (!GetOverlappedResult(port_, &pendingRead_, &count, FALSE)) {
                const DWORD code = GetLastError();
                if (code == ERROR_IO_INCOMPLETE) {
                    return;
                }
                readPending_ = false;
                fail("receiving", code);
            }
            readPending_ = false;
            received_.append(&pendingByte_, count);
        }
        do {
            drainQueue();
        } while (!armRead());
    } catch (const SerialError&) {
        ResetEvent(receiveEvent_);
        throw;
    }
}

void Win32SerialControl::drainQueue() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port_, &errors, &status)) {
        fail("reading the receive count", GetLastError());
    }
    if (status.cbInQue == 0) {
        return;
    }
    std::string bytes(status.cbInQue, '\0');
    OVERLAPPED read{};
    read.hEvent = transferEvent_;
    DWORD count = 0;
    if (!ReadFile(port_, bytes.data(), status.cbInQue, &count, &read)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING || !GetOverlappedResult(port_, &read, &count, TRUE)) {
            fail("receiving", code == ERROR_IO_PENDING ? GetLastError() : code);
        }
    }
    received_.append(bytes.data(), count);
}

// True when the read is left pending; false when a byte was there at once (taken).
bool Win32SerialControl::armRead() {
    pendingRead_ = OVERLAPPED{};
    pendingRead_.hEvent = receiveEvent_;
    DWORD count = 0;
    if (ReadFile(port_, &pendingByte_, 1, &count, &pendingRead_)) {
        received_.append(&pendingByte_, count);
        return false;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_IO_PENDING) {
        fail("receiving", code);
    }
    readPending_ = true;
    return true;
}

int32_t Win32SerialControl::inBufferCount() {
    requireOpen();
    collect();
    return static_cast<int32_t>(received_.size());
}

void Win32SerialControl::setInBufferCount(int32_t) {
    requireOpen();
    collect();
    received_.clear();
    if (!PurgeComm(port_, PURGE_RXCLEAR)) {
        fail("discarding the receive buffer", GetLastError());
    }
}

void Win32SerialControl::output(const std::string& text) {
    requireOpen();
    OVERLAPPED write{};
    write.hEvent = transferEvent_;
    DWORD count = 0;
    const auto size = static_cast<DWORD>(text.size());
    if (!WriteFile(port_, text.data(), size, &count, &write)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING || !GetOverlappedResult(port_, &write, &count, TRUE)) {
            fail("sending", code == ERROR_IO_PENDING ? GetLastError() : code);
        }
    }
    if (count != size) {
        fail("sending", ERROR_WRITE_FAULT);
    }
}

std::string Win32SerialControl::input() {
    requireOpen();
    collect();
    return std::exchange(received_, std::string());
}
