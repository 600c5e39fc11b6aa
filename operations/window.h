#pragma once

#include <string>

// The window's controls as the operations see them, addressed by control name: "Text1",
// "Text12(0)".."Text12(10)", "Frame6", "IntervalStart", ...
class Window {
public:
    virtual ~Window() = default;
    virtual std::string text(const std::string& box) = 0;
    virtual void setText(const std::string& box, const std::string& text) = 0;
    virtual void showFrame(const std::string& frame) = 0;
    virtual bool timerEnabled() = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void setChecked(const std::string& menuEntry, bool checked) = 0;
};
