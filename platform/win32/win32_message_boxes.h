#pragma once

#include "serial/message_boxes.h"

#include <windows.h>

// MessageBoxW with the program's flags as they are; the input box is a small modal dialog
// with the prompt, one edit field, OK and Cancel.
class Win32MessageBoxes : public MessageBoxes {
public:
    void setOwner(HWND owner) { owner_ = owner; }

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;

private:
    HWND owner_ = nullptr;
};
