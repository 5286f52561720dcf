#pragma once
// The Corrections panel beside the source list: each used row's formula with
// the purity and excess it is weighed with, editable, and the lab's bottles
// of that compound to take them from (a choice when several hold it).
// It follows the model: a row's notice refreshes that row, a corrections
// notice the values.

#include <QWidget>
#include <vector>

#include "core/composition.h"
#include "form/form_observer.h"
#include "store/lab_database.h"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace qv {
class Model;
}

namespace qv::app {

class CorrectionsPanel : public QWidget, public FormObserver {
    Q_OBJECT
public:
    enum Column { RowColumn, FormulaColumn, PurityColumn, ExcessColumn, BottleColumn, ColumnCount };

    explicit CorrectionsPanel(Model& model, QWidget* parent = nullptr);
    ~CorrectionsPanel() override;

    // The bottles to offer; their compositions are worked out once here.
    void setBottles(const std::vector<store::Bottle>& bottles);

    void formChanged(FormChange what, int row) override;

    QTableWidget* table() const { return table_; }
    // The source row shown on a line of the table, and the other way round (-1: none).
    int sourceRow(int line) const { return line < int(rows_.size()) ? rows_[std::size_t(line)] : -1; }
    int lineOf(int sourceRow) const;
    QString message() const;
    // A lasting note under the table (the lab database could not be opened).
    void setNote(const QString& text);
    // The bottles offered for a source row, in id order.
    std::vector<const store::Bottle*> bottlesFor(int sourceRow) const;
    // Takes the bottle's purity, excess and lot for the row.
    void chooseBottle(int sourceRow, std::int64_t bottleId);

signals:
    // A message about a value the panel refused or a row left out.
    void messageChanged(const QString& text);

private:
    void rebuild();
    void fillLine(int line);
    void cellEdited(QTableWidgetItem* item);
    void say(const QString& text);

    Model& model_;
    std::vector<store::Bottle> bottles_;
    std::vector<Composition> bottleCompositions_;  // parallel to bottles_; empty when unreadable
    std::vector<int> rows_;                        // the used source rows, in order
    QTableWidget* table_;
    QLabel* message_;
    bool filling_ = false;
};

}  // namespace qv::app
