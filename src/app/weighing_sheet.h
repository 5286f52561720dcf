#pragma once
// The weighing sheet, opened from the window after Output: one line per used
// row with the grams to weigh, a field for the grams actually weighed and
// what remains, rescaled as soon as a value is typed; the balance's minimum
// weight, the composition the weighed powders give and the firing check
// under it. A session with something weighed goes into the lab database when
// it is recorded or the sheet is closed.

#include <QDialog>
#include <QList>
#include <QString>
#include <optional>

#include "app/bench_settings.h"
#include "plan/weighing_plan.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qv::app {

struct SheetSection;

class WeighingSheet : public QDialog {
    Q_OBJECT
public:
    enum Column {
        RowColumn,
        FormulaColumn,
        PlannedColumn,
        ActualColumn,
        TargetColumn,
        ToAddColumn,
        NoteColumn,
        DiscardColumn,
        ColumnCount
    };

    // dbPath empty: the lab database's default file.
    WeighingSheet(WeighingPlan plan, const QString& sampleTag, const std::string& recipeText,
                  const BenchSettings& settings, const QString& dbPath = {}, QWidget* parent = nullptr);
    ~WeighingSheet() override;

    const WeighingSession& session() const { return session_; }
    QTableWidget* table() const { return table_; }
    QLineEdit* actualEdit(int i) const { return actual_[i]; }
    QPushButton* readButton() const { return read_; }
    QLabel* message() const { return message_; }
    QLabel* minimumNotice() const { return minimum_; }
    QLabel* asWeighed() const { return asWeighed_; }
    QLineEdit* firedEdit() const { return fired_; }
    QLineEdit* beforeEdit() const { return before_; }
    QLabel* firingResult() const { return firing_; }
    // The row that "Read balance" fills: the last actual field that had the focus.
    int activeRow() const { return active_; }
    void setActiveRow(int i);
    // The session id once recorded.
    std::optional<long long> recordedId() const { return recorded_; }
    SheetSection section() const;

public slots:
    void readBalance();
    void discard(int i);
    // Records the session (again after changes) and says so; false with the
    // reason shown.
    bool record();
    void print();
    void exportPdf();
    void editBalanceSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void actualTyped(int i);
    void refresh();
    void refreshComposition();
    void refreshFiring();
    void showMessage(const QString& text, bool problem);

    WeighingSession session_;
    QString sampleTag_;
    std::string recipeText_;
    BenchSettings settings_;
    QString dbPath_;
    balance::BalancePort* port_ = nullptr;
    int active_ = 0;
    bool changed_ = false;  // since the last record
    std::optional<long long> recorded_;

    QLabel* header_ = nullptr;
    QTableWidget* table_ = nullptr;
    QList<QLineEdit*> actual_;
    QLabel* minimum_ = nullptr;
    QLabel* asWeighed_ = nullptr;
    QComboBox* per_ = nullptr;
    QLabel* change_ = nullptr;
    QLineEdit* before_ = nullptr;
    QLineEdit* fired_ = nullptr;
    QLabel* firing_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* read_ = nullptr;
};

// The counts as rich text with lowered counts, as formulas are drawn.
QString formulaHtml(const WeighingPlan& plan, const std::vector<double>& counts);

}  // namespace qv::app
