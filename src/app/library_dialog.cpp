#include "app/library_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/formula_match.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "recipe/safe_file.h"
#include "store/bottle_csv.h"

namespace qv::app {
namespace {

enum Column { Formula, Label, Supplier, Lot, Purity, Excess, ColumnCount };
constexpr const char* kHeaders[ColumnCount] = {"Formula", "Label",      "Supplier",
                                               "Lot",     "Purity (%)", "Excess (%)"};

QString toQ(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A percentage typed with a point, whatever the locale; empty gives `empty`.
bool readPercent(const QString& text, double empty, double& value) {
    const std::string s = text.trimmed().toStdString();
    if (s.empty()) {
        value = empty;
        return true;
    }
    return scanDecimal(s, 0, value) == s.size();
}

}  // namespace

LibraryDialog::LibraryDialog(store::LabDatabase& db, const ElementTable& elements, QWidget* parent)
    : QDialog(parent), db_(db), elements_(elements) {
    setWindowTitle(QString::fromLatin1(kLibraryDialogTitle));
    if (parent) setWindowIcon(parent->windowIcon());

    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("bottles"));
    for (int c = 0; c < ColumnCount; ++c)
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(tr(kHeaders[c])));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(Label, QHeaderView::Stretch);
    table_->setAccessibleName(tr("Bottles"));

    auto* form = new QGridLayout;
    for (int c = 0; c < ColumnCount; ++c) {
        fields_[c] = new QLineEdit(this);
        fields_[c]->setAccessibleName(tr(kHeaders[c]));
        auto* label = new QLabel(tr(kHeaders[c]) + QLatin1Char(':'), this);
        label->setBuddy(fields_[c]);
        // Two columns of label and field: the texts left, the numbers right.
        const int row = c < Purity ? c : c - Purity;
        const int col = c < Purity ? 0 : 2;
        form->addWidget(label, row, col);
        form->addWidget(fields_[c], row, col + 1);
    }
    fields_[Purity]->setPlaceholderText(QStringLiteral("100"));
    fields_[Excess]->setPlaceholderText(QStringLiteral("0"));
    form->setColumnStretch(1, 3);
    form->setColumnStretch(3, 1);

    add_ = new QPushButton(tr("&Add"), this);
    change_ = new QPushButton(tr("&Change"), this);
    delete_ = new QPushButton(tr("&Delete"), this);
    auto* importButton = new QPushButton(tr("&Import CSV..."), this);
    auto* exportButton = new QPushButton(tr("&Export CSV..."), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add_, change_, delete_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);

    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(message_);
    layout->addWidget(close);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &LibraryDialog::showSelected);
    connect(add_, &QPushButton::clicked, this, &LibraryDialog::addBottle);
    connect(change_, &QPushButton::clicked, this, &LibraryDialog::changeBottle);
    connect(delete_, &QPushButton::clicked, this, [this] {
        const int row = table_->currentRow();
        if (row < 0) return;
        const auto answer = QMessageBox::question(
            this, windowTitle(), tr("Delete the bottle of %1?").arg(toQ(bottles_[std::size_t(row)].formula)));
        if (answer == QMessageBox::Yes) deleteBottle();
    });
    connect(importButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Import Bottles"), {}, tr("CSV files (*.csv)"));
        if (!path.isEmpty()) importCsv(path);
    });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Export Bottles"), QStringLiteral("bottles.csv"), tr("CSV files (*.csv)"));
        if (!path.isEmpty()) exportCsv(path);
    });
    resize(720, 440);
    reload();
}

QString LibraryDialog::message() const { return message_->text(); }

void LibraryDialog::say(const QString& text, bool error) {
    message_->setText(text);
    message_->setStyleSheet(error ? QStringLiteral("color: #b00020") : QString());
}

void LibraryDialog::reload(std::int64_t select) {
    const auto list = db_.bottles();
    bottles_ = list ? *list : std::vector<store::Bottle>();
    if (!list) say(toQ(db_.error()), true);
    const QSignalBlocker block(table_);
    table_->setRowCount(int(bottles_.size()));
    int selectRow = -1;
    for (std::size_t r = 0; r < bottles_.size(); ++r) {
        const store::Bottle& b = bottles_[r];
        const QString cells[ColumnCount] = {toQ(b.formula),
                                            toQ(b.label),
                                            toQ(b.supplier),
                                            toQ(b.lot),
                                            toQ(formatDecimal(b.purityPct, 6)),
                                            toQ(formatDecimal(b.excessPct, 6))};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= Purity) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(int(r), c, item);
        }
        if (b.id == select) selectRow = int(r);
    }
    table_->clearSelection();
    if (selectRow >= 0) table_->selectRow(selectRow);
    change_->setEnabled(selectRow >= 0);
    delete_->setEnabled(selectRow >= 0);
}

void LibraryDialog::showSelected() {
    const int row = table_->currentRow();
    const bool selected = row >= 0 && !table_->selectedItems().isEmpty();
    change_->setEnabled(selected);
    delete_->setEnabled(selected);
    if (!selected) return;
    for (int c = 0; c < ColumnCount; ++c) fields_[c]->setText(table_->item(row, c)->text());
}

bool LibraryDialog::readForm(store::Bottle& b) {
    b.formula = fields_[Formula]->text().trimmed().toStdString();
    b.label = fields_[Label]->text().toStdString();
    b.supplier = fields_[Supplier]->text().toStdString();
    b.lot = fields_[Lot]->text().toStdString();
    if (b.formula.empty() || !formulaComposition(elements_, b.formula)) {
        say(tr("\"%1\" is not a formula Quorvex can read.").arg(fields_[Formula]->text()), true);
        fields_[Formula]->setFocus();
        return false;
    }
    for (const int c : {Purity, Excess}) {
        double& value = c == Purity ? b.purityPct : b.excessPct;
        if (!readPercent(fields_[c]->text(), c == Purity ? 100.0 : 0.0, value)) {
            say(tr("%1 must be a number, not \"%2\".").arg(tr(kHeaders[c]), fields_[c]->text()), true);
            fields_[c]->setFocus();
            return false;
        }
    }
    if (const std::string bad = store::checkCorrections(b.purityPct, b.excessPct); !bad.empty()) {
        say(tr("The %1.").arg(toQ(bad)), true);
        return false;
    }
    return true;
}

bool LibraryDialog::addBottle() {
    store::Bottle b;
    if (!readForm(b)) return false;
    const auto id = db_.addBottle(b);
    if (!id) {
        say(toQ(db_.error()), true);
        return false;
    }
    reload(*id);
    say(tr("Added %1.").arg(toQ(b.formula)), false);
    return true;
}

bool LibraryDialog::changeBottle() {
    const int row = table_->currentRow();
    store::Bottle b;
    if (row < 0 || !readForm(b)) return false;
    b.id = bottles_[std::size_t(row)].id;
    if (db_.updateBottle(b) != store::Found::Yes) {
        say(db_.error().empty() ? tr("That bottle is no longer in the library.") : toQ(db_.error()), true);
        reload();
        return false;
    }
    reload(b.id);
    say(tr("Changed %1.").arg(toQ(b.formula)), false);
    return true;
}

bool LibraryDialog::deleteBottle() {
    const int row = table_->currentRow();
    if (row < 0) return false;
    const store::Bottle b = bottles_[std::size_t(row)];
    const bool ok = db_.removeBottle(b.id) != store::Found::Failed;
    reload();
    say(ok ? tr("Deleted %1.").arg(toQ(b.formula)) : toQ(db_.error()), !ok);
    return ok;
}

bool LibraryDialog::importCsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        say(tr("%1: %2").arg(path, file.errorString()), true);
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::vector<store::Bottle> list;
    std::string error;
    if (!store::parseBottlesCsv(bytes.toStdString(), list, error)) {
        say(tr("%1: %2. Nothing was imported.").arg(path, toQ(error)), true);
        return false;
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!formulaComposition(elements_, list[i].formula)) {
            say(tr("%1: line %2: \"%3\" is not a formula Quorvex can read. Nothing was imported.")
                    .arg(path)
                    .arg(i + 2)
                    .arg(toQ(list[i].formula)),
                true);
            return false;
        }
    if (!db_.addBottles(list)) {
        say(toQ(db_.error()), true);
        return false;
    }
    reload();
    say(tr("Imported %n bottle(s).", nullptr, int(list.size())), false);
    return true;
}

bool LibraryDialog::exportCsv(const QString& path) {
    const auto list = db_.bottles();
    if (!list || !replaceFileContents(QFile::encodeName(path).toStdString(), store::bottlesCsv(*list))) {
        say(list ? tr("%1 could not be written.").arg(path) : toQ(db_.error()), true);
        return false;
    }
    say(tr("Exported %n bottle(s).", nullptr, int(list->size())), false);
    return true;
}

}  // namespace qv::app
