#include "platform/qt/qt_message_boxes.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(int flags) {
    switch (flags & mb::kIcons) {
    case mb::kIconError:
        return QMessageBox::Critical;
    case mb::kIconQuestion:
        return QMessageBox::Question;
    case mb::kIconWarning:
        return QMessageBox::Warning;
    case mb::kIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

int QtMessageBoxes::messageBox(const std::string& text, int flags, const std::string& title) {
    QMessageBox box(iconOf(flags), QString::fromStdString(title), displayText(text),
                    QMessageBox::Ok, parent_);
    if ((flags & mb::kButtons) == mb::kOkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    }
    box.setWindowModality(Qt::ApplicationModal);
    if (flags & mb::kSystemModal) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    return box.exec() == QMessageBox::Cancel ? mb::kIdCancel : mb::kIdOk;
}

std::string QtMessageBoxes::inputBox(const std::string& prompt, const std::string& title) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(QString());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue().toStdString();
}
