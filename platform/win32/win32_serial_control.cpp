#include "platform/win32/win32_serial_control.h"

#include <algorithm>
#include <utility>

#include "platform/win32/system_error.h"

namespace {

constexpr int kErrPortAlreadyOpen = 8005;
constexpr int kErrPortNotOpen = 8018;
constexpr int kErrInvalidValue = 380;

// How long a write may wait in the adapter's driver beyond its bytes' wire time.
constexpr DWORD kWriteMarginMs = 1000;
// How often a wait for a transfer looks again: its event may be taken by another wait.
constexpr DWORD kPollMs = 10;

// The control's numbers for the two opening failures the program tells apart. Access denied
// here is a port held by another program.
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

// io made ready for a new transfer, its event kept.
OVERLAPPED& restarted(OVERLAPPED& io) {
    HANDLE event = io.hEvent;
    io = OVERLAPPED{};
    io.hEvent = event;
    return io;
}

} // namespace

SerialFailure failureOnOpenPort(unsigned long code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_OPERATION_ABORTED:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    // What Wine reports when the far end of the line it maps has gone.
    case ERROR_BROKEN_PIPE:
    case ERROR_NOT_READY:
        return SerialFailure::DeviceGone;
    default:
        return SerialFailure::Other;
    }
}

Win32SerialControl::Transfers::Transfers() {
    transfer.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

Win32SerialControl::Transfers::~Transfers() { CloseHandle(transfer.hEvent); }

Win32SerialControl::Win32SerialControl()
    : receiveEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

Win32SerialControl::~Win32SerialControl() {
    try {
        close();
    } catch (const SerialError&) {
        // Let go already; nobody is left to tell.
    }
    CloseHandle(receiveEvent_);
}

void Win32SerialControl::fail(DWORD code) {
    throw SerialError(static_cast<int>(code), win32::systemDescription(code),
                      failureOnOpenPort(code));
}

void Win32SerialControl::requireOpen() {
    if (port_ == INVALID_HANDLE_VALUE) {
        throw SerialError(kErrPortNotOpen, "Operation valid only while the port is open");
    }
    if (stuck_) {
        fail(ERROR_SEM_TIMEOUT);
    }
}

DWORD Win32SerialControl::writeLimitMs(std::size_t size) const {
    // A start bit, the data bits, a parity bit and two stop bits at the most.
    const auto bits = static_cast<unsigned long long>(size) * (settings_.dataBits + 4U);
    return static_cast<DWORD>(bits * 1000 / std::max(settings_.baud, 1U)) + 1 + kWriteMarginMs;
}

void Win32SerialControl::setCommPort(int16_t port) {
    if (port_ != INVALID_HANDLE_VALUE) {
        throw SerialError(kErrPortAlreadyOpen, "Port already open");
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
        fail(GetLastError());
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
        fail(GetLastError());
    }
}

bool Win32SerialControl::portOpen() { return port_ != INVALID_HANDLE_VALUE; }

void Win32SerialControl::setPortOpen(bool open) {
    if (!open) {
        close();
        return;
    }
    if (port_ != INVALID_HANDLE_VALUE) {
        throw SerialError(kErrPortAlreadyOpen, "Port already open");
    }
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(commPort_);
    port_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
    if (port_ == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        throw SerialError(openErrorNumber(code), win32::systemDescription(code));
    }
    io_ = std::make_unique<Transfers>();
    try {
        applySettings();
        collect(true);
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
        CancelIoEx(port_, &io_->pendingRead);
        stuck_ = stuck_ || !ended(io_->pendingRead, kCancelLimitMs);
        readPending_ = false;
    }
    CloseHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
    ResetEvent(receiveEvent_);
    received_.clear();
    if (std::exchange(stuck_, false)) {
        // The driver may still end the transfer and write into its memory.
        static_cast<void>(io_.release());
        fail(ERROR_SEM_TIMEOUT);
    }
    io_.reset();
}

// True when io has ended within limitMs.
bool Win32SerialControl::ended(OVERLAPPED& io, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!HasOverlappedIoCompleted(&io)) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= limitMs) {
            return false;
        }
        WaitForSingleObject(io.hEvent, std::min(limitMs - waited, kPollMs));
    }
    return true;
}

// The count of a transfer that went pending, once it has ended. One that has not ended within
// limitMs is cancelled and fails; when the cancel does not end either, the port is stuck.
DWORD Win32SerialControl::finish(OVERLAPPED& io, DWORD limitMs) {
    if (!ended(io, limitMs)) {
        CancelIoEx(port_, &io);
        stuck_ = !ended(io, kCancelLimitMs);
        fail(ERROR_SEM_TIMEOUT);
    }
    DWORD count = 0;
    if (!GetOverlappedResult(port_, &io, &count, FALSE)) {
        fail(GetLastError());
    }
    return count;
}

// Moves everything that has arrived into received_ and leaves a read pending for the next
// byte. After a failure no read is pending, so the event stays clear and a wait sleeps;
// every later use asks the port again and fails again until the port is closed.
void Win32SerialControl::collect(bool checkLine) {
    try {
        if (readPending_) {
            if (!HasOverlappedIoCompleted(&io_->pendingRead)) {
                // Some drivers leave the read pending when the adapter is removed: the line's
                // state tells at once.
                if (checkLine) {
                    queued();
                }
                return;
            }
            readPending_ = false;
            DWORD count = 0;
            if (!GetOverlappedResult(port_, &io_->pendingRead, &count, FALSE)) {
                fail(GetLastError());
            }
            received_.append(&io_->pendingByte, count);
        }
        do {
            drainQueue();
        } while (!armRead());
    } catch (const SerialError&) {
        ResetEvent(receiveEvent_);
        throw;
    }
}

DWORD Win32SerialControl::queued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port_, &errors, &status)) {
        fail(GetLastError());
    }
    return status.cbInQue;
}

void Win32SerialControl::drainQueue() {
    const DWORD waiting = queued();
    if (waiting == 0) {
        return;
    }
    std::string& bytes = io_->incoming;
    bytes.assign(waiting, '\0');
    OVERLAPPED& read = restarted(io_->transfer);
    DWORD count = 0;
    if (!ReadFile(port_, bytes.data(), waiting, &count, &read)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING) {
            fail(code);
        }
        // The bytes are there already: this ends at once unless the driver hangs.
        count = finish(read, kCancelLimitMs);
    }
    received_.append(bytes.data(), count);
}

// True when the read is left pending; false when a byte was there at once (taken).
bool Win32SerialControl::armRead() {
    OVERLAPPED& read = io_->pendingRead;
    read = OVERLAPPED{};
    read.hEvent = receiveEvent_;
    DWORD count = 0;
    if (ReadFile(port_, &io_->pendingByte, 1, &count, &read)) {
        received_.append(&io_->pendingByte, count);
        return false;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_IO_PENDING) {
        fail(code);
    }
    readPending_ = true;
    return true;
}

// Asked once in each pass of a wait: it also looks at the line's state.
int32_t Win32SerialControl::inBufferCount() {
    requireOpen();
    collect(true);
    return static_cast<int32_t>(received_.size());
}

void Win32SerialControl::setInBufferCount(int32_t) {
    requireOpen();
    collect(true);
    received_.clear();
    if (!PurgeComm(port_, PURGE_RXCLEAR)) {
        fail(GetLastError());
    }
}

// The bytes are kept with the transfer: a driver that never ends the write may still read them.
void Win32SerialControl::output(const std::string& text) {
    requireOpen();
    io_->outgoing = text;
    OVERLAPPED& write = restarted(io_->transfer);
    DWORD count = 0;
    const auto size = static_cast<DWORD>(text.size());
    if (!WriteFile(port_, io_->outgoing.data(), size, &count, &write)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING) {
            fail(code);
        }
        count = finish(write, writeLimitMs(text.size()));
    }
    if (count != size) {
        fail(ERROR_WRITE_FAULT);
    }
}

// Taken right after the pass's count: the line was looked at already.
std::string Win32SerialControl::input() {
    requireOpen();
    collect(false);
    return std::exchange(received_, std::string());
}
