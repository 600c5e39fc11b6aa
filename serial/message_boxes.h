#pragma once

#include <string>

// Windows message-box flags the program uses.
namespace mb {
inline constexpr int OK = 0x0;
inline constexpr int OKCANCEL = 0x1;
inline constexpr int ICONERROR = 0x10;
inline constexpr int ICONWARNING = 0x30;
inline constexpr int SYSTEMMODAL = 0x1000;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
} // namespace mb

inline constexpr const char* kAppTitle = "Kelvara";

// Modal message boxes and the input box. Texts cross exactly as the program writes them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns mb::IDOK or mb::IDCANCEL.
    virtual int messageBox(const std::string& text, int flags, const std::string& title) = 0;
    // The typed answer; cancelling gives the empty text.
    virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;
};
