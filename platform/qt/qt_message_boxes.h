#pragma once

#include <QPointer>
#include <QWidget>

#include "serial/message_boxes.h"

// Message boxes and the input box over QMessageBox and QInputDialog. System-modal boxes are
// application-modal and stay on top.
class QtMessageBoxes : public MessageBoxes {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    int messageBox(const std::string& text, int flags, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;

private:
    QPointer<QWidget> parent_;
};

// A label draws a bare CR on the same line: turn CR LF and lone CR into line breaks.
QString displayText(const std::string& text);
