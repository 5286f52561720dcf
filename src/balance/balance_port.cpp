#include "balance/balance_port.h"

namespace qv::balance {

namespace {

// A line longer than this without a line end is not a balance answer.
constexpr int kLongestLine = 128;

}  // namespace

QString frameText(const PortSettings& s) {
    const char parity = s.parity == QSerialPort::EvenParity    ? 'E'
                        : s.parity == QSerialPort::OddParity   ? 'O'
                        : s.parity == QSerialPort::SpaceParity ? 'S'
                        : s.parity == QSerialPort::MarkParity  ? 'M'
                                                               : 'N';
    const QString stop = s.stopBits == QSerialPort::TwoStop          ? QStringLiteral("2")
                         : s.stopBits == QSerialPort::OneAndHalfStop ? QStringLiteral("1.5")
                                                                     : QStringLiteral("1");
    return QStringLiteral("%1 %2%3%4").arg(s.baudRate).arg(int(s.dataBits)).arg(QChar(parity)).arg(stop);
}

QString openErrorText(QSerialPort::SerialPortError error, const QString& name, const QString& detail) {
    switch (error) {
    case QSerialPort::PermissionError:
        return BalancePort::tr(
                   "Cannot open the balance port %1: permission denied. Add your user to the "
                   "dialout group (sudo usermod -aG dialout $USER) and log in again.")
            .arg(name);
    case QSerialPort::DeviceNotFoundError:
        return BalancePort::tr(
                   "Cannot open the balance port %1: there is no such port. Is the balance "
                   "plugged in?")
            .arg(name);
    default: return BalancePort::tr("Cannot open the balance port %1: %2.").arg(name, detail);
    }
}

BalancePort::BalancePort(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &BalancePort::onTimeout);
    connect(&port_, &QSerialPort::readyRead, this, &BalancePort::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &BalancePort::onError);
}

BalancePort::~BalancePort() = default;

void BalancePort::setSettings(const PortSettings& settings) {
    close();
    settings_ = settings;
}

bool BalancePort::open() {
    if (port_.isOpen()) return true;
    error_.clear();
    if (settings_.portName.isEmpty()) {
        error_ = tr("No balance port is set; choose one in the balance settings.");
        return false;
    }
    port_.setPortName(settings_.portName);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = openErrorText(port_.error(), settings_.portName, port_.errorString());
        port_.clearError();
        return false;
    }
    const bool set = port_.setBaudRate(settings_.baudRate) && port_.setDataBits(settings_.dataBits) &&
                     port_.setParity(settings_.parity) && port_.setStopBits(settings_.stopBits) &&
                     port_.setFlowControl(settings_.flowControl);
    if (!set) {
        error_ = tr("The balance port %1 refuses the settings %2: %3.")
                     .arg(settings_.portName, frameText(settings_), port_.errorString());
        port_.close();
        return false;
    }
    port_.clear();
    return true;
}

void BalancePort::close() {
    timer_.stop();
    buffer_.clear();
    if (port_.isOpen()) port_.close();
}

void BalancePort::requestReading() {
    if (timer_.isActive()) return;
    if (!open()) {
        emit failed(error_);
        return;
    }
    buffer_.clear();
    port_.clear(QSerialPort::Input);
    const std::string_view request = requestCommand(settings_.protocol);
    if (port_.write(request.data(), qint64(request.size())) != qint64(request.size())) {
        if (!port_.isOpen()) return;  // the port went away and has said so
        fail(tr("Could not send the request to the balance on %1: %2.")
                 .arg(settings_.portName, port_.errorString()));
        return;
    }
    timer_.start(settings_.timeoutMs);
}

void BalancePort::onReadyRead() {
    buffer_ += port_.readAll();
    if (!timer_.isActive()) {
        buffer_.clear();  // nobody asked: a balance printing on its own
        return;
    }
    while (true) {
        const qsizetype end = buffer_.indexOf('\n') >= 0 ? buffer_.indexOf('\n') : buffer_.indexOf('\r');
        if (end < 0) break;
        const QByteArray line = buffer_.left(end).trimmed();
        buffer_.remove(0, end + 1);
        if (line.isEmpty()) continue;
        finish(parseReading(settings_.protocol, std::string_view(line.constData(), size_t(line.size()))));
        return;
    }
    if (buffer_.size() > kLongestLine) {
        finish(
            parseReading(settings_.protocol, std::string_view(buffer_.constData(), size_t(buffer_.size()))));
    }
}

void BalancePort::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
    if (!port_.isOpen()) return;  // open() words its own failures
    const QString name = settings_.portName;
    // An unplugged adapter reports a resource error, a vanished line a failed read.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    const QString text =
        gone ? tr("The balance on %1 was disconnected. Check the cable and read again.").arg(name)
             : tr("The balance port %1 failed: %2.").arg(name, port_.errorString());
    port_.clearError();
    fail(text);
}

void BalancePort::onTimeout() {
    const bool partial = !buffer_.trimmed().isEmpty();
    fail(partial ? tr("The balance on %1 sent an incomplete answer (\"%2\"). Check the protocol and the "
                      "port settings (%3).")
                       .arg(settings_.portName, QString::fromLatin1(buffer_.trimmed().left(40)),
                            frameText(settings_))
                 : tr("The balance on %1 did not answer within %2 s. Check that it is on, the cable, and "
                      "the port settings (%3).")
                       .arg(settings_.portName)
                       .arg(settings_.timeoutMs / 1000.0)
                       .arg(frameText(settings_)));
}

void BalancePort::finish(const Reading& reading) {
    timer_.stop();
    buffer_.clear();
    const QString text = QString::fromStdString(reading.message);
    switch (reading.kind) {
    case ReadingKind::Stable: emit stableWeight(reading.grams); break;
    case ReadingKind::Error:
    case ReadingKind::Garbage: emit failed(text); break;
    default: emit notTaken(text);
    }
}

void BalancePort::fail(const QString& message) {
    const bool wasOpen = port_.isOpen();
    timer_.stop();
    buffer_.clear();
    if (wasOpen) port_.close();  // opened afresh on the next reading
    emit failed(message);
}

}  // namespace qv::balance
