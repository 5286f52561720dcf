#include "app/log_dialog.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/bench_settings.h"
#include "app/sheet_print.h"
#include "core/number_format.h"
#include "plan/session_record.h"
#include "store/session_export.h"

namespace qv::app {

namespace {

QString decimal(double v, int decimals = 6) { return QString::fromStdString(formatDecimal(v, decimals)); }
QString decimal(const std::optional<double>& v, int decimals = 6) {
    return v ? decimal(*v, decimals) : QString();
}

}  // namespace

LogDialog::LogDialog(const QString& dbPath, QWidget* parent) : QDialog(parent), dbPath_(dbPath) {
    setWindowTitle(tr("Weighing log"));
    search_ = new QLineEdit;
    search_->setPlaceholderText(tr("sample tag or compound"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::textChanged, this, &LogDialog::reload);

    list_ = new QTableWidget(0, 7);
    list_->setHorizontalHeaderLabels({tr("Session"), tr("Time"), tr("Sample tag"), tr("Final compound"),
                                      tr("Grams"), tr("Fired (g)"), tr("Completeness")});
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setStretchLastSection(true);
    connect(list_, &QTableWidget::itemSelectionChanged, this, &LogDialog::showSelected);

    details_ = new QTextBrowser;
    fired_ = new QLineEdit;
    before_ = new QLineEdit;
    for (QLineEdit* edit : {fired_, before_}) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000.000000")));
    }
    auto* recordButton = new QPushButton(tr("Record &firing"));
    connect(recordButton, &QPushButton::clicked, this, &LogDialog::recordFiring);
    auto* firingBox = new QGroupBox(tr("Firing"));
    auto* firingForm = new QFormLayout(firingBox);
    firingForm->addRow(tr("Mass &after firing (g):"), fired_);
    firingForm->addRow(tr("Mass &before firing (g):"), before_);
    firingForm->addRow(recordButton);

    auto* lower = new QWidget;
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(details_, 3);
    lowerLayout->addWidget(firingBox, 1);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(list_);
    splitter->addWidget(lower);

    message_ = new QLabel;
    message_->setWordWrap(true);

    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel(tr("&Search:"));
    searchLabel->setBuddy(search_);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search_);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, void (LogDialog::*slot)()) {
        auto* b = new QPushButton(text);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button(tr("Export &CSV..."), &LogDialog::exportCsv);
    button(tr("Export &JSON..."), &LogDialog::exportJson);
    buttons->addStretch();
    button(tr("&Print..."), &LogDialog::print);
    button(tr("Export P&DF..."), &LogDialog::exportPdf);
    auto* close = new QPushButton(tr("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(splitter, 1);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    // Return in a field never presses a button.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    resize(820, 560);

    const std::string path = dbPath_.isEmpty() ? store::LabDatabase::defaultPath() : dbPath_.toStdString();
    if (db_.open(path, dbPath_.isEmpty()) != store::OpenStatus::Ok)
        showMessage(QString::fromStdString(db_.error()), true);
    else if (!db_.notice().empty())
        showMessage(QString::fromStdString(db_.notice()), false);
    reload();
}

void LogDialog::reload() {
    const std::int64_t keep = selected() ? selected()->id : 0;
    sessions_.clear();
    if (db_.isOpen()) {
        if (auto found = db_.sessions(search_->text().toStdString()))
            sessions_ = std::move(*found);
        else
            showMessage(QString::fromStdString(db_.error()), true);
    }
    const QSignalBlocker block(list_);
    list_->setRowCount(int(sessions_.size()));
    int select = sessions_.empty() ? -1 : 0;
    for (int r = 0; r < int(sessions_.size()); ++r) {
        const store::Session& s = sessions_[r];
        const QStringList cells = {
            QString::number(s.id),
            QString::fromStdString(s.time),
            QString::fromStdString(s.sampleTag),
            QString::fromStdString(s.finalFormula),
            decimal(s.finalGrams),
            decimal(s.firedGrams),
            s.completenessPct ? decimal(*s.completenessPct, 1) + QStringLiteral(" %") : QString()};
        for (int c = 0; c < cells.size(); ++c) list_->setItem(r, c, new QTableWidgetItem(cells[c]));
        if (s.id == keep) select = r;
    }
    if (select >= 0) list_->selectRow(select);
    showSelected();
}

const store::Session* LogDialog::selected() const {
    const int r = list_->currentRow();
    return r >= 0 && r < int(sessions_.size()) ? &sessions_[r] : nullptr;
}

void LogDialog::showSelected() {
    const store::Session* s = selected();
    details_->setHtml(s ? sheetHtml({sheetSection(*s)}) : tr("<i>No weighing session recorded yet.</i>"));
    fired_->setText(s ? decimal(s->firedGrams) : QString());
    before_->setText(s && s->firedGrams ? decimal(s->beforeGrams) : QString());
}

void LogDialog::recordFiring() {
    const store::Session* chosen = selected();
    if (!chosen) return;
    std::optional<double> fired, before;
    if (!readField(fired_->text(), fired) || !fired || *fired < 0) {
        showMessage(tr("The mass after firing must be a number of grams, not \"%1\".").arg(fired_->text()),
                    true);
        return;
    }
    if (!readField(before_->text(), before) || (before && *before < 0)) {
        showMessage(tr("The mass before firing must be a number of grams, not \"%1\".").arg(before_->text()),
                    true);
        return;
    }
    store::Session s = *chosen;
    const Completeness c = applyFiredMass(s, *fired, before);
    if (db_.setFiredMasses(s.id, s.firedGrams, s.beforeGrams, s.completenessPct) != store::Found::Yes) {
        showMessage(QString::fromStdString(db_.error()), true);
        return;
    }
    reload();
    showMessage(c.pct ? tr("Session %1: completeness %2 %.").arg(s.id).arg(decimal(*c.pct, 1))
                      : QString::fromStdString(c.message),
                !c.pct);
}

QString LogDialog::exportTo(const QString& path, bool json) const {
    QSaveFile file(path);
    const std::string text = json ? store::sessionsJson(sessions_) : store::sessionsCsv(sessions_);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        return tr("Cannot write %1: %2").arg(path, file.errorString());
    return {};
}

void LogDialog::exportCsv() {
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export CSV"), QStringLiteral("weighing-log.csv"), tr("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    const QString error = exportTo(path, false);
    showMessage(error.isEmpty() ? tr("Saved %1.").arg(path) : error, !error.isEmpty());
}

void LogDialog::exportJson() {
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export JSON"), QStringLiteral("weighing-log.json"), tr("JSON files (*.json)"));
    if (path.isEmpty()) return;
    const QString error = exportTo(path, true);
    showMessage(error.isEmpty() ? tr("Saved %1.").arg(path) : error, !error.isEmpty());
}

void LogDialog::print() {
    const store::Session* s = selected();
    if (!s) return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) printSheets(printer, {sheetSection(*s)});
}

void LogDialog::exportPdf() {
    const store::Session* s = selected();
    if (!s) return;
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export PDF"), QStringLiteral("session-%1.pdf").arg(s->id), tr("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    const QString error = exportSheetsPdf(path, {sheetSection(*s)});
    showMessage(error.isEmpty() ? tr("Saved %1.").arg(path) : error, !error.isEmpty());
}

void LogDialog::showMessage(const QString& text, bool problem) {
    message_->setStyleSheet(problem ? QStringLiteral("color: #b00000") : QString());
    message_->setText(text);
}

}  // namespace qv::app
