#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// What a failure says about the port: most leave it usable after a close and reopen; a device
// gone (the USB adapter unplugged or dead) has no port left behind the handle.
enum class SerialFailure { Other, DeviceGone };

// A failure of the serial control: its error number, its kind and the system's description.
class SerialError : public std::runtime_error {
public:
    SerialError(int number, const std::string& description,
                SerialFailure kind = SerialFailure::Other)
        : std::runtime_error(description), number_(number), kind_(kind), cause_(description) {}
    // The same failure told in other words; the system's description stays its cause.
    SerialError(const SerialError& failure, const std::string& text)
        : std::runtime_error(text), number_(failure.number_), kind_(failure.kind_),
          cause_(failure.cause_) {}
    int number() const { return number_; }
    bool deviceGone() const { return kind_ == SerialFailure::DeviceGone; }
    const std::string& cause() const { return cause_; }

private:
    int number_;
    SerialFailure kind_;
    std::string cause_;
};

// Error number for a port number that has no device behind it.
inline constexpr int kErrPortNotExist = 8002;

// The serial port control MSComm5: the properties the program uses. Any of them may throw
// SerialError.
class SerialControl {
public:
    virtual ~SerialControl() = default;
    virtual void setCommPort(int16_t port) = 0;
    virtual void setSettings(const std::string& settings) = 0;
    virtual bool portOpen() = 0;
    virtual void setPortOpen(bool open) = 0;
    virtual int32_t inBufferCount() = 0;
    // Setting 0 discards everything received and not yet read.
    virtual void setInBufferCount(int32_t count) = 0;
    virtual void output(const std::string& text) = 0;
    // Everything received so far.
    virtual std::string input() = 0;
};
