#pragma once
// The balance at the bench: its serial port and protocol, and what it can
// weigh (readability, repeatability, tolerance), kept in the program's
// settings under the group "Balance", and the dialog that edits them.

#include <QDialog>

#include "balance/balance_port.h"
#include "plan/minimum_weight.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSettings;

namespace qv::app {

struct BenchSettings {
    balance::PortSettings port;
    BalanceRating balance;
};

BenchSettings readBenchSettings(QSettings& store);
void writeBenchSettings(QSettings& store, const BenchSettings& settings);
// The program's own settings store.
BenchSettings readBenchSettings();
void writeBenchSettings(const BenchSettings& settings);

class BalanceSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit BalanceSettingsDialog(const BenchSettings& settings, QWidget* parent = nullptr);

    // The values as edited; only meaningful after accept().
    const BenchSettings& settings() const { return settings_; }

    QComboBox* portBox() const { return port_; }
    QLineEdit* readabilityEdit() const { return readability_; }
    QLineEdit* repeatabilityEdit() const { return repeatability_; }
    QLineEdit* toleranceEdit() const { return tolerance_; }

    void accept() override;

private:
    void updateMinimumWeight();
    // The edited values, or a message naming the bad one.
    QString collect(BenchSettings& out) const;

    BenchSettings settings_;
    QComboBox* port_ = nullptr;
    QComboBox* speed_ = nullptr;
    QComboBox* dataBits_ = nullptr;
    QComboBox* parity_ = nullptr;
    QComboBox* stopBits_ = nullptr;
    QComboBox* flow_ = nullptr;
    QComboBox* protocol_ = nullptr;
    QLineEdit* readability_ = nullptr;
    QLineEdit* repeatability_ = nullptr;
    QLineEdit* tolerance_ = nullptr;
    QLabel* minimum_ = nullptr;
};

// A mass typed in a field: a plain decimal with a point. Nothing for an
// empty field; false for anything else.
bool readField(const QString& text, std::optional<double>& value);

}  // namespace qv::app
