#pragma once

#include <string>

// Windows message-box flags the program uses (MB_OK, MB_OKCANCEL, ... and IDOK, IDCANCEL, by
// value: the Windows headers define those names as macros).
namespace mb {
inline constexpr int kOk = 0x0;
inline constexpr int kOkCancel = 0x1;
inline constexpr int kButtons = 0xF; // the bits that choose the buttons
inline constexpr int kIconError = 0x10;
inline constexpr int kIconQuestion = 0x20;
inline constexpr int kIconWarning = 0x30;
inline constexpr int kIconInformation = 0x40;
inline constexpr int kIcons = 0xF0; // the bits that choose the icon
inline constexpr int kSystemModal = 0x1000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
} // namespace mb

inline constexpr const char* kAppTitle = "Kelvara";

// Modal message boxes and the input box. Texts cross exactly as the program writes them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns mb::kIdOk or mb::kIdCancel.
    virtual int messageBox(const std::string& text, int flags, const std::string& title) = 0;
    // The typed answer; cancelling gives the empty text.
    virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;
};
