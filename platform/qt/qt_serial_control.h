#pragma once

#include <QObject>
#include <QSerialPort>
#include <optional>

#include "platform/linux/com_name_table.h"
#include "serial/line_settings.h"
#include "serial/serial_control.h"

// MSComm5 over QSerialPort. COM numbers resolve through the platform's COM-name table.
// QSerialPort reports write and device failures later, through errorOccurred: they are
// latched and raised at the next use of a property.
class QtSerialControl : public QObject, public SerialControl {
    Q_OBJECT
public:
    explicit QtSerialControl(ComNameTable table, QObject* parent = nullptr);

    void setCommPort(int16_t port) override;
    void setSettings(const std::string& settings) override;
    bool portOpen() override;
    void setPortOpen(bool open) override;
    int32_t inBufferCount() override;
    void setInBufferCount(int32_t count) override;
    void output(const std::string& text) override;
    std::string input() override;

private:
    void latch(QSerialPort::SerialPortError error);
    void raiseLatched();
    void applySettings();
    void requireOpen() const;
    [[noreturn]] void fail(QSerialPort::SerialPortError error) const;

    ComNameTable table_;
    QSerialPort port_;
    int16_t commPort_ = 1;
    LineSettings settings_;
    std::optional<SerialError> latched_;
};
