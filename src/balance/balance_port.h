#pragma once
// A lab balance on a serial port. Never blocks: a reading is asked for and
// its answer, or why there is none, arrives as a signal; a balance that says
// nothing within the time-out, answers garbage or goes away gives a message.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include "balance/protocol.h"

namespace qv::balance {

struct PortSettings {
    QString portName;  // "/dev/ttyUSB0"
    qint32 baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
    Protocol protocol = Protocol::MtSics;
    int timeoutMs = 3000;
};

// "9600 8N1" and the like, for messages and the settings.
QString frameText(const PortSettings& settings);

// Why the port would not open, for the user: a permission error names the
// group that may use serial ports.
QString openErrorText(QSerialPort::SerialPortError error, const QString& portName, const QString& detail);

class BalancePort : public QObject {
    Q_OBJECT
public:
    explicit BalancePort(QObject* parent = nullptr);
    ~BalancePort() override;

    void setSettings(const PortSettings& settings);
    const PortSettings& settings() const { return settings_; }

    // Opens the port unless open. False, with the reason in errorText().
    bool open();
    void close();
    bool isOpen() const { return port_.isOpen(); }
    const QString& errorText() const { return error_; }

    // Asks for one reading (opening the port first). Ignored while a reading
    // is under way. The answer comes as exactly one of the three signals.
    void requestReading();
    bool reading() const { return timer_.isActive(); }

signals:
    void stableWeight(double grams);
    // A weight that has not settled, an overload, busy: shown, not taken.
    void notTaken(const QString& message);
    void failed(const QString& message);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void onTimeout();
    void finish(const Reading& reading);
    void fail(const QString& message);

    PortSettings settings_;
    QSerialPort port_;
    QTimer timer_;
    QByteArray buffer_;
    QString error_;
};

}  // namespace qv::balance
