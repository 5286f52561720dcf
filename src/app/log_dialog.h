#pragma once
// The Log dialog: the weighing sessions of the lab database, searched by tag
// or compound, one shown in full, the masses after and before firing added
// to it, and the list exported as CSV or JSON or one session printed.

#include <QDialog>
#include <vector>

#include "store/lab_database.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class QTextBrowser;

namespace qv::app {

class LogDialog : public QDialog {
    Q_OBJECT
public:
    // dbPath empty: the lab database's default file.
    explicit LogDialog(const QString& dbPath = {}, QWidget* parent = nullptr);

    QLineEdit* searchEdit() const { return search_; }
    QTableWidget* list() const { return list_; }
    QTextBrowser* details() const { return details_; }
    QLineEdit* firedEdit() const { return fired_; }
    QLineEdit* beforeEdit() const { return before_; }
    QLabel* message() const { return message_; }
    const std::vector<store::Session>& sessions() const { return sessions_; }

    // The listed sessions into the file; empty when written, else why not.
    QString exportTo(const QString& path, bool json) const;

public slots:
    void reload();
    void recordFiring();
    void exportCsv();
    void exportJson();
    void print();
    void exportPdf();

private:
    void showSelected();
    const store::Session* selected() const;
    void showMessage(const QString& text, bool problem);

    QString dbPath_;
    store::LabDatabase db_;
    std::vector<store::Session> sessions_;
    QLineEdit* search_ = nullptr;
    QTableWidget* list_ = nullptr;
    QTextBrowser* details_ = nullptr;
    QLineEdit* fired_ = nullptr;
    QLineEdit* before_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace qv::app
