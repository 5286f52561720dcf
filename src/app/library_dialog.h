#pragma once
// The lab's bottles: a table of the library with a form under it to add a
// bottle, change or delete the selected one, and CSV import and export.

#include <QDialog>
#include <cstdint>
#include <vector>

#include "store/lab_database.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qv {
class ElementTable;
}

namespace qv::app {

inline constexpr const char* kLibraryDialogTitle = "Quorvex : Bottle Library";

class LibraryDialog : public QDialog {
    Q_OBJECT
public:
    // Formulas are checked against `elements`; the database stays open
    // for as long as the dialog lives.
    LibraryDialog(store::LabDatabase& db, const ElementTable& elements, QWidget* parent = nullptr);

    // What the buttons do once a file is chosen; false with the reason shown.
    bool importCsv(const QString& path);
    bool exportCsv(const QString& path);
    bool addBottle();
    bool changeBottle();
    bool deleteBottle();  // no confirmation; the button asks first

    QTableWidget* table() const { return table_; }
    QLineEdit* field(int column) const { return fields_[column]; }
    QString message() const;
    const std::vector<store::Bottle>& bottles() const { return bottles_; }

private:
    void reload(std::int64_t select = 0);
    void showSelected();
    // The form's bottle, or false with the reason in the message line.
    bool readForm(store::Bottle& bottle);
    void say(const QString& text, bool error);

    store::LabDatabase& db_;
    const ElementTable& elements_;
    std::vector<store::Bottle> bottles_;
    QTableWidget* table_;
    QLineEdit* fields_[6];
    QPushButton* add_;
    QPushButton* change_;
    QPushButton* delete_;
    QLabel* message_;
};

}  // namespace qv::app
