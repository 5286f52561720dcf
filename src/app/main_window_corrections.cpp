// The corrections in the window: the panel beside the source list, the lab's
// bottles it offers, the Library dialog, and the corrections file beside a
// recipe.

#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "app/corrections_panel.h"
#include "app/library_dialog.h"
#include "app/main_window.h"
#include "recipe/corrections_file.h"
#include "recipe/recipe_file.h"

namespace qv::app {
QWidget* MainWindow::besideCorrections(QWidget* list) {
    corrections_ = new CorrectionsPanel(*model_);
    // A tab behind the list: the window's smallest size stays the list's,
    // and the form's Tab chain goes from the list to the element lists.
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("listTabs"));
    tabs->addTab(list, tr("Source &Materials"));
    tabs->addTab(corrections_, tr("Co&rrections"));
    tabs->setFocusPolicy(Qt::NoFocus);
    tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    tabs->setDocumentMode(true);
    // Alt+M and Alt+R switch pages from the keyboard; the focus follows into
    // the page shown, so the panel is reachable without a mouse.
    connect(tabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            corrections_->table()->setFocus(Qt::ShortcutFocusReason);
        else
            sourceList_->setFocus(Qt::ShortcutFocusReason);
    });
    connect(corrections_, &CorrectionsPanel::messageChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) model_->setStatus(text.toStdString());
    });
    return tabs;
}

bool MainWindow::openLabDatabase(bool sayFailure) {
    if (labDb_) return true;
    auto db = std::make_unique<store::LabDatabase>();
    if (db->open(store::LabDatabase::defaultPath(), true) != store::OpenStatus::Ok) {
        if (sayFailure)
            QMessageBox::warning(this, QString::fromLatin1(kLibraryDialogTitle),
                                 QString::fromStdString(db->error()));
        else
            corrections_->setNote(QString::fromStdString(db->error()));
        return false;
    }
    if (!db->notice().empty()) corrections_->setNote(QString::fromStdString(db->notice()));
    labDb_ = std::move(db);
    if (const auto bottles = labDb_->bottles()) corrections_->setBottles(*bottles);
    return true;
}

void MainWindow::showLibrary() {
    if (!openLabDatabase(true)) return;
    LibraryDialog dialog(*labDb_, model_->elementTable(), this);
    dialog.exec();
    if (const auto bottles = labDb_->bottles()) corrections_->setBottles(*bottles);
}

void MainWindow::readCorrectionsBeside(const std::string& recipePath) {
    const CorrectionsRead read = readCorrectionsFile(*model_, recipePath);
    model_->setCorrections(read.corrections);
    // Rows left out and a damaged file are told in the status box.
    if (!read.message.empty()) {
        const std::string status = model_->status();
        model_->setStatus(status.empty() ? read.message : status + "\n" + read.message);
    }
}

void MainWindow::writeCorrectionsBeside(const std::string& recipePath) {
    if (!writeCorrectionsFile(*model_, model_->corrections(), recipePath))
        QMessageBox::warning(this, QString::fromLatin1(kRecipeErrorTitle.data(), kRecipeErrorTitle.size()),
                             tr("The recipe was saved, but its corrections could not be written to %1.")
                                 .arg(QString::fromStdString(correctionsPath(recipePath))));
}

}  // namespace qv::app
