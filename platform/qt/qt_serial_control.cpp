#include "platform/qt/qt_serial_control.h"

#include <QStringList>
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

std::optional<QSerialPort::Parity> parityOf(const QString& letter) {
    if (letter == "N") {
        return QSerialPort::NoParity;
    }
    if (letter == "E") {
        return QSerialPort::EvenParity;
    }
    if (letter == "O") {
        return QSerialPort::OddParity;
    }
    if (letter == "M") {
        return QSerialPort::MarkParity;
    }
    if (letter == "S") {
        return QSerialPort::SpaceParity;
    }
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> stopBitsOf(const QString& text) {
    if (text == "1") {
        return QSerialPort::OneStop;
    }
    if (text == "1.5") {
        return QSerialPort::OneAndHalfStop;
    }
    if (text == "2") {
        return QSerialPort::TwoStop;
    }
    return std::nullopt;
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
    latched_ = SerialError(errorNumber(error), port_.errorString().toStdString());
    port_.clearError();
    // A hung-up device stays readable with nothing to read: close it so that waits sleep
    // instead of waking for it again and again.
    if (error == QSerialPort::ResourceError && port_.isOpen()) {
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
    const QStringList parts = QString::fromStdString(settings).split(',');
    LineSettings parsed;
    bool baudOk = false;
    bool bitsOk = false;
    if (parts.size() == 4) {
        parsed.baud = parts[0].toInt(&baudOk);
        const int bits = parts[2].toInt(&bitsOk);
        bitsOk = bitsOk && bits >= 5 && bits <= 8;
        parsed.dataBits = static_cast<QSerialPort::DataBits>(bits);
    }
    const auto parity = parts.size() == 4 ? parityOf(parts[1].toUpper()) : std::nullopt;
    const auto stop = parts.size() == 4 ? stopBitsOf(parts[3]) : std::nullopt;
    if (!baudOk || parsed.baud <= 0 || !bitsOk || !parity || !stop) {
        throw SerialError(kErrInvalidValue, "Invalid port settings: " + settings);
    }
    parsed.parity = *parity;
    parsed.stopBits = *stop;
    settings_ = parsed;
    if (port_.isOpen()) {
        port_.setBaudRate(settings_.baud);
        port_.setParity(settings_.parity);
        port_.setDataBits(settings_.dataBits);
        port_.setStopBits(settings_.stopBits);
    }
}

// Input always returns everything received; the length is kept for the record only.
void QtSerialControl::setInputLen(int16_t) {}

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
    port_.setBaudRate(settings_.baud);
    port_.setParity(settings_.parity);
    port_.setDataBits(settings_.dataBits);
    port_.setStopBits(settings_.stopBits);
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
