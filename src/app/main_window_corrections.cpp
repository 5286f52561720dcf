// The corrections in the window: the panel beside the source list, the lab's
// bottles it offers, the Library dialog, and the corrections file beside a
// recipe.

#include <QMessageBox>
#include <QSplitter>
#include <QTimer>

#include "app/corrections_panel.h"
#include "app/library_dialog.h"
#include "app/main_window.h"
#include "recipe/corrections_file.h"
#include "recipe/recipe_file.h"

namespace qv::app {
namespace {

// The list keeps the width its four columns want; the panel beside it gets
// what is left, down to nothing in a small window, and the user may drag
// the handle either way.
class ListFirstSplitter : public QSplitter {
public:
    ListFirstSplitter() : QSplitter(Qt::Horizontal) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QSplitter::resizeEvent(event);
        QList<int> now = sizes();
        const int want = widget(0)->sizeHint().width();
        const int total = now.value(0) + now.value(1);
        if (now.size() == 2 && now[0] < want && now[1] > 0)
            setSizes({std::min(total, want), total - std::min(total, want)});
    }
};

}  // namespace

QWidget* MainWindow::besideCorrections(QWidget* list) {
    corrections_ = new CorrectionsPanel(*model_);
    auto* splitter = new ListFirstSplitter;
    splitter->setObjectName(QStringLiteral("listSplitter"));
    splitter->addWidget(list);
    splitter->addWidget(corrections_);
    splitter->setCollapsible(0, false);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    // The panel can be narrowed to nothing, so the window's minimum size
    // stays the list's.
    corrections_->setMinimumWidth(1);
    connect(corrections_, &CorrectionsPanel::messageChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) model_->setStatus(text.toStdString());
    });
    return splitter;
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
