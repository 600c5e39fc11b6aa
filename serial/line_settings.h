#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The serial control's Settings, "115200,N,8,1": baud, parity letter, data bits, stop bits.
struct LineSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    uint32_t baud = 9600;
    Parity parity = Parity::None;
    uint8_t dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// Nothing when the text is not four such fields.
std::optional<LineSettings> parseLineSettings(const std::string& text);
