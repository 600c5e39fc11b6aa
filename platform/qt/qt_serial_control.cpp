#include "platform/qt/qt_serial_control.h"

#include <QStringList>
#include <poll.h>
#include <utility>

namespace {

constexpr int kErrPortAlreadyOpen = 8005;
constexpr int kErrPortNotOpen = 8018;
constexpr int kErrInvalidValue = 380;

int errorNumber(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::DeviceNotFoundError) {
        return kErrPortNotExist;
    }
    return 8100 + static_cast<int>(error);
}

QSerialPort::Parity parityOf(LineSettings::Parity parity) {
    switch (parity) {
    case LineSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case LineSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case LineSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case LineSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    case LineSettings::Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits stopBitsOf(LineSettings::StopBits stopBits) {
    switch (stopBits) {
    case LineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    case LineSettings::StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

// True when the open line has hung up: its device went away.
bool hungUp(const QSerialPort& port) {
    if (!port.isOpen()) {
        return false;
    }
    pollfd line{static_cast<int>(port.handle()), POLLIN, 0};
    return poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace

QtSerialControl::QtSerialControl(ComNameTable table, QObject* parent)
    : QObject(parent), table_(std::move(table)) {
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialControl::latch);
}

void QtSerialControl::latch(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
        return;
    }
    // A hang-up is how the line tells that the adapter is gone; Qt reports it as a resource
    // error, or as a failed read.
    const bool gone = error == QSerialPort::ResourceError || hungUp(port_);
    latched_ = SerialError(errorNumber(error), port_.errorString().toStdString(),
                           gone ? SerialFailure::DeviceGone : SerialFailure::Other);
    port_.clearError();
    // A hung-up device stays readable with nothing to read: close it so that waits sleep
    // instead of waking for it again and again.
    if (gone && port_.isOpen()) {
        port_.close();
    }
}

void QtSerialControl::raiseLatched() {
    if (latched_) {
        const SerialError failure = *latched_;
        latched_.reset();
        throw failure;
    }
}

void QtSerialControl::requireOpen() const {
    if (!port_.isOpen()) {
        throw SerialError(kErrPortNotOpen,
                          "the port is not open: the link to the controller was lost");
    }
}

void QtSerialControl::fail(QSerialPort::SerialPortError error) const {
    if (error == QSerialPort::NoError) {
        throw SerialError(errorNumber(QSerialPort::UnknownError),
                          "the port failed without telling why");
    }
    throw SerialError(errorNumber(error), port_.errorString().toStdString());
}

void QtSerialControl::setCommPort(int16_t port) {
    if (port_.isOpen()) {
        throw SerialError(kErrPortAlreadyOpen, "Port already open");
    }
    if (port < 1) {
        throw SerialError(kErrInvalidValue, "Invalid port number");
    }
    commPort_ = port;
}

void QtSerialControl::setSettings(const std::string& settings) {
    const auto parsed = parseLineSettings(settings);
    if (!parsed) {
        throw SerialError(kErrInvalidValue, "Invalid port settings: " + settings);
    }
    settings_ = *parsed;
    if (port_.isOpen()) {
        applySettings();
    }
}

void QtSerialControl::applySettings() {
    port_.setBaudRate(static_cast<qint32>(settings_.baud));
    port_.setParity(parityOf(settings_.parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.dataBits));
    port_.setStopBits(stopBitsOf(settings_.stopBits));
}

// Input always returns everything received; the length is kept for the record only.

bool QtSerialControl::portOpen() {
    raiseLatched();
    return port_.isOpen();
}

void QtSerialControl::setPortOpen(bool open) {
    if (!open) {
        latched_.reset();
        if (port_.isOpen()) {
            port_.close();
        }
        return;
    }
    if (port_.isOpen()) {
        throw SerialError(kErrPortAlreadyOpen, "Port already open");
    }
    const std::string device = table_.resolve(commPort_);
    if (device.empty()) {
        throw SerialError(kErrPortNotExist,
                          "Port number does not exist (COM" + std::to_string(commPort_) + ")");
    }
    latched_.reset();
    port_.setPortName(QString::fromStdString(device));
    applySettings();
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        // errorOccurred latched the failure during open(); error() now reads it cleared.
        const auto failure = std::exchange(latched_, std::nullopt);
        if (failure) {
            throw *failure;
        }
        fail(port_.error());
    }
}

int32_t QtSerialControl::inBufferCount() {
    raiseLatched();
    requireOpen();
    return static_cast<int32_t>(port_.bytesAvailable());
}

void QtSerialControl::setInBufferCount(int32_t) {
    raiseLatched();
    requireOpen();
    port_.readAll();
    port_.clear(QSerialPort::Input);
}

void QtSerialControl::output(const std::string& text) {
    raiseLatched();
    requireOpen();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (port_.write(bytes) != bytes.size()) {
        fail(port_.error());
    }
}

std::string QtSerialControl::input() {
    raiseLatched();
    requireOpen();
    return port_.readAll().toStdString();
}
