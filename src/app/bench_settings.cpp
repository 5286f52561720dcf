#include "app/bench_settings.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSerialPortInfo>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>

#include "app/app_info.h"
#include "core/number_format.h"
#include "core/number_scan.h"

namespace qv::app {

namespace {

QString number(double v) { return QString::fromStdString(formatShortest(v)); }

double readNumber(QSettings& store, const char* key, double fallback) {
    std::optional<double> v;
    return readField(store.value(QLatin1String(key)).toString(), v) && v ? *v : fallback;
}

// Items with their data; the current one is that whose data is `value`.
void fill(QComboBox* box, const QList<QPair<QString, int>>& items, int value) {
    for (const auto& [text, data] : items) box->addItem(text, data);
    box->setCurrentIndex(std::max(0, box->findData(value)));
}

}  // namespace

bool readField(const QString& text, std::optional<double>& value) {
    const std::string s = text.trimmed().toStdString();
    value.reset();
    if (s.empty()) return true;
    double v = 0.0;
    if (scanDecimal(s, 0, v) != s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

BenchSettings readBenchSettings(QSettings& store) {
    BenchSettings s;
    store.beginGroup(QStringLiteral("Balance"));
    balance::PortSettings& p = s.port;
    p.portName = store.value(QStringLiteral("Port")).toString();
    p.baudRate = store.value(QStringLiteral("Speed"), p.baudRate).toInt();
    p.dataBits = QSerialPort::DataBits(store.value(QStringLiteral("Data Bits"), int(p.dataBits)).toInt());
    p.parity = QSerialPort::Parity(store.value(QStringLiteral("Parity"), int(p.parity)).toInt());
    p.stopBits = QSerialPort::StopBits(store.value(QStringLiteral("Stop Bits"), int(p.stopBits)).toInt());
    p.flowControl =
        QSerialPort::FlowControl(store.value(QStringLiteral("Flow Control"), int(p.flowControl)).toInt());
    p.protocol = store.value(QStringLiteral("Protocol")).toString() == QLatin1String("line")
                     ? balance::Protocol::Line
                     : balance::Protocol::MtSics;
    s.balance.readability = readNumber(store, "Readability", s.balance.readability);
    s.balance.tolerancePct = readNumber(store, "Tolerance", s.balance.tolerancePct);
    std::optional<double> repeatability;
    if (readField(store.value(QStringLiteral("Repeatability")).toString(), repeatability))
        s.balance.repeatability = repeatability;
    store.endGroup();
    if (!checkBalanceRating(s.balance).empty()) s.balance = BalanceRating{};  // edited by hand: start afresh
    return s;
}

void writeBenchSettings(QSettings& store, const BenchSettings& s) {
    store.beginGroup(QStringLiteral("Balance"));
    const balance::PortSettings& p = s.port;
    store.setValue(QStringLiteral("Port"), p.portName);
    store.setValue(QStringLiteral("Speed"), p.baudRate);
    store.setValue(QStringLiteral("Data Bits"), int(p.dataBits));
    store.setValue(QStringLiteral("Parity"), int(p.parity));
    store.setValue(QStringLiteral("Stop Bits"), int(p.stopBits));
    store.setValue(QStringLiteral("Flow Control"), int(p.flowControl));
    store.setValue(QStringLiteral("Protocol"), p.protocol == balance::Protocol::Line
                                                   ? QStringLiteral("line")
                                                   : QStringLiteral("mt-sics"));
    store.setValue(QStringLiteral("Readability"), number(s.balance.readability));
    store.setValue(QStringLiteral("Repeatability"),
                   s.balance.repeatability ? number(*s.balance.repeatability) : QString());
    store.setValue(QStringLiteral("Tolerance"), number(s.balance.tolerancePct));
    store.endGroup();
}

BenchSettings readBenchSettings() {
    QSettings store(QLatin1String(kAppName), QCoreApplication::applicationName());
    return readBenchSettings(store);
}

void writeBenchSettings(const BenchSettings& settings) {
    QSettings store(QLatin1String(kAppName), QCoreApplication::applicationName());
    writeBenchSettings(store, settings);
}

BalanceSettingsDialog::BalanceSettingsDialog(const BenchSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(tr("Balance"));
    const balance::PortSettings& p = settings.port;

    port_ = new QComboBox;
    port_->setEditable(true);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        port_->addItem(info.systemLocation());
    port_->setCurrentText(p.portName);
    port_->lineEdit()->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    speed_ = new QComboBox;
    for (const int baud : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        speed_->addItem(QString::number(baud), baud);
    speed_->setCurrentIndex(std::max(0, speed_->findData(p.baudRate)));
    dataBits_ = new QComboBox;
    fill(dataBits_, {{QStringLiteral("7"), QSerialPort::Data7}, {QStringLiteral("8"), QSerialPort::Data8}},
         p.dataBits);
    parity_ = new QComboBox;
    fill(parity_,
         {{tr("None"), QSerialPort::NoParity},
          {tr("Even"), QSerialPort::EvenParity},
          {tr("Odd"), QSerialPort::OddParity}},
         p.parity);
    stopBits_ = new QComboBox;
    fill(stopBits_,
         {{QStringLiteral("1"), QSerialPort::OneStop}, {QStringLiteral("2"), QSerialPort::TwoStop}},
         p.stopBits);
    flow_ = new QComboBox;
    fill(flow_,
         {{tr("None"), QSerialPort::NoFlowControl},
          {tr("Hardware (RTS/CTS)"), QSerialPort::HardwareControl},
          {tr("Software (XON/XOFF)"), QSerialPort::SoftwareControl}},
         p.flowControl);
    protocol_ = new QComboBox;
    fill(protocol_,
         {{tr("MT-SICS (SI)"), int(balance::Protocol::MtSics)},
          {tr("Print on request (line)"), int(balance::Protocol::Line)}},
         int(p.protocol));

    auto* portBox = new QGroupBox(tr("Serial port"));
    auto* portForm = new QFormLayout(portBox);
    portForm->addRow(tr("&Port:"), port_);
    portForm->addRow(tr("&Speed (baud):"), speed_);
    portForm->addRow(tr("&Data bits:"), dataBits_);
    portForm->addRow(tr("P&arity:"), parity_);
    portForm->addRow(tr("S&top bits:"), stopBits_);
    portForm->addRow(tr("&Flow control:"), flow_);
    portForm->addRow(tr("P&rotocol:"), protocol_);

    readability_ = new QLineEdit(number(settings.balance.readability));
    repeatability_ =
        new QLineEdit(settings.balance.repeatability ? number(*settings.balance.repeatability) : QString());
    repeatability_->setPlaceholderText(tr("unknown"));
    tolerance_ = new QLineEdit(number(settings.balance.tolerancePct));
    minimum_ = new QLabel;
    minimum_->setWordWrap(true);
    auto* weighBox = new QGroupBox(tr("What the balance can weigh"));
    auto* weighForm = new QFormLayout(weighBox);
    weighForm->addRow(tr("Rea&dability d (g):"), readability_);
    weighForm->addRow(tr("Re&peatability s (g):"), repeatability_);
    weighForm->addRow(tr("&Tolerance t (%):"), tolerance_);
    weighForm->addRow(minimum_);
    for (QLineEdit* edit : {readability_, repeatability_, tolerance_})
        connect(edit, &QLineEdit::textChanged, this, &BalanceSettingsDialog::updateMinimumWeight);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* columns = new QHBoxLayout;
    columns->addWidget(portBox);
    columns->addWidget(weighBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    updateMinimumWeight();
}

QString BalanceSettingsDialog::collect(BenchSettings& out) const {
    out = settings_;
    balance::PortSettings& p = out.port;
    p.portName = port_->currentText().trimmed();
    p.baudRate = speed_->currentData().toInt();
    p.dataBits = QSerialPort::DataBits(dataBits_->currentData().toInt());
    p.parity = QSerialPort::Parity(parity_->currentData().toInt());
    p.stopBits = QSerialPort::StopBits(stopBits_->currentData().toInt());
    p.flowControl = QSerialPort::FlowControl(flow_->currentData().toInt());
    p.protocol = balance::Protocol(protocol_->currentData().toInt());
    std::optional<double> d, s, t;
    if (!readField(readability_->text(), d) || !d)
        return tr("The readability must be a number such as 0.0001.");
    if (!readField(repeatability_->text(), s)) return tr("The repeatability must be a number, or empty.");
    if (!readField(tolerance_->text(), t) || !t) return tr("The tolerance must be a number such as 0.1.");
    out.balance = {*d, s, *t};
    const std::string bad = checkBalanceRating(out.balance);
    return bad.empty() ? QString() : tr("The %1.").arg(QString::fromStdString(bad));
}

void BalanceSettingsDialog::updateMinimumWeight() {
    BenchSettings s;
    const QString bad = collect(s);
    minimum_->setText(bad.isEmpty()
                          ? tr("Minimum weight: %1 g")
                                .arg(QString::fromStdString(formatDecimal(minimumWeight(s.balance), 6)))
                          : bad);
}

void BalanceSettingsDialog::accept() {
    if (!collect(settings_).isEmpty()) {
        updateMinimumWeight();
        return;
    }
    QDialog::accept();
}

}  // namespace qv::app
