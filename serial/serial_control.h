#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A failure of the serial control: its error number and its description.
class SerialError : public std::runtime_error {
public:
    SerialError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
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
