#pragma once

#include <string>

#include "operations/control_names.h"

// The window's controls as the operations see them, addressed by control name: "Text1",
// "Text12(0)".."Text12(10)", "Frame6", "IntervalStart", ...
class Window {
public:
    virtual ~Window() = default;
    virtual std::string text(BoxName box) = 0;
    virtual void setText(BoxName box, const std::string& text) = 0;
    virtual void showFrame(FrameName frame) = 0;
    virtual bool timerEnabled() = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void setChecked(MenuName menuEntry, bool checked) = 0;
};
