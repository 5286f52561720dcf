#pragma once
// The Series dialog: one recipe weighed out for every member of a composition
// series. The final compound is a template whose {expression} counts vary
// with one variable; the samples follow every keystroke, each solved on a
// copy of the form taken when the dialog opened.

#include <QDialog>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/sheet_print.h"
#include "plan/series.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qv {
class ElementTable;
struct HeadlessForm;
}  // namespace qv

namespace qv::app {

// What the dialog starts from: the window's form as recipe bytes (the .qvs
// text), the final compound and grams as typed, and the form's corrections
// (purity and excess per source row).
struct SeriesStart {
    std::string recipe;
    std::string finalFormula;
    std::string grams;
    Corrections corrections;
};

class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    SeriesDialog(const ElementTable& table, const SeriesStart& start, QWidget* parent = nullptr);
    ~SeriesDialog() override;

    // The samples the table shows, and the message above it.
    const std::vector<SeriesSample>& samples() const { return samples_; }
    const std::vector<SeriesColumn>& columns() const { return columns_; }
    QString message() const;

    // The outputs the buttons write.
    std::string csvText() const;
    std::string jsonText() const;
    QString tableText() const;  // tab-separated, as Copy puts it on the clipboard
    // The weighing sheet of every sample with an answer, one section each.
    QList<SheetSection> sheetSections() const;

signals:
    // "Open in form": the sample's final compound, for the main window.
    void openInForm(const QString& formula);

private:
    void update();
    void fillTable();
    void exportTo(const QString& filter, const std::string& text);
    void openSelected();
    void print();
    void exportPdf();

    const ElementTable& table_;
    std::unique_ptr<HeadlessForm> form_;
    bool loaded_ = false;
    SeriesStart start_;
    std::vector<SeriesColumn> columns_;
    std::vector<SeriesSample> samples_;
    std::string variable_;
    double grams_ = 0.0;
    bool gramsOk_ = false;

    QLineEdit* template_ = nullptr;
    QLineEdit* variableEdit_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* step_ = nullptr;
    QLineEdit* gramsEdit_ = nullptr;
    QLabel* message_ = nullptr;
    QTableWidget* tableWidget_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* exportCsv_ = nullptr;
    QPushButton* exportJson_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* exportPdf_ = nullptr;
};

}  // namespace qv::app
