#include "app/corrections_panel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/formula_match.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "form/model.h"

namespace qv::app {
namespace {

QString toQ(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString percentText(double value) { return toQ(formatDecimal(value, 6)); }

QString bottleText(const store::Bottle& b) {
    QString text = QStringLiteral("#%1").arg(b.id);
    for (const std::string* part : {&b.label, &b.supplier})
        if (!part->empty()) text += QStringLiteral(" ") + toQ(*part);
    if (!b.lot.empty()) text += QStringLiteral(", lot ") + toQ(b.lot);
    return text + QStringLiteral(": %1 %, +%2 %").arg(percentText(b.purityPct), percentText(b.excessPct));
}

}  // namespace

CorrectionsPanel::CorrectionsPanel(Model& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("corrections"));
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setAccessibleName(tr("Corrections"));
    const char* headers[ColumnCount] = {"#", "Formula", "Purity %", "Excess %", "Bottle"};
    for (int c = 0; c < ColumnCount; ++c)
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(tr(headers[c])));
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(BottleColumn, QHeaderView::Stretch);
    // One line of header text, whatever the section sizes would allow.
    table_->horizontalHeader()->setFixedHeight(table_->horizontalHeader()->sizeHint().height());
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    // Only on its own page, so while the list shows, the form's Tab chain goes
    // from the list to the element lists as it always has.
    table_->setFocusPolicy(Qt::StrongFocus);

    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setVisible(false);
    auto* title = new QLabel(tr("Corrections"), this);
    title->setBuddy(table_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(table_, 1);
    layout->addWidget(message_);

    connect(table_, &QTableWidget::itemChanged, this, &CorrectionsPanel::cellEdited);
    model_.addObserver(this);
    rebuild();
}

CorrectionsPanel::~CorrectionsPanel() { model_.removeObserver(this); }

QString CorrectionsPanel::message() const { return message_->text(); }

void CorrectionsPanel::say(const QString& text) {
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
    emit messageChanged(text);
}

void CorrectionsPanel::setNote(const QString& text) {
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
}

void CorrectionsPanel::setBottles(const std::vector<store::Bottle>& bottles) {
    bottles_ = bottles;
    bottleCompositions_.clear();
    for (const store::Bottle& b : bottles_)
        bottleCompositions_.push_back(
            formulaComposition(model_.elementTable(), b.formula).value_or(Composition{}));
    rebuild();
}

std::vector<const store::Bottle*> CorrectionsPanel::bottlesFor(int sourceRow) const {
    std::vector<const store::Bottle*> out;
    const Formula& entry = model_.source(sourceRow);
    if (entry.classify() < Free) return out;
    for (std::size_t i = 0; i < bottles_.size(); ++i)
        if (!bottleCompositions_[i].empty() && sameComposition(bottleCompositions_[i], entry.composition()))
            out.push_back(&bottles_[i]);
    return out;
}

int CorrectionsPanel::lineOf(int sourceRow) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i] == sourceRow) return int(i);
    return -1;
}

void CorrectionsPanel::formChanged(FormChange what, int row) {
    switch (what) {
    case FormChange::Row:
    case FormChange::Peg:
    case FormChange::FinalCompound: {
        // Only a row that joins or leaves the used ones reshapes the table.
        std::vector<int> used;
        for (int r = 0; r < kSourceRows; ++r)
            if (model_.source(r).classify() >= Free) used.push_back(r);
        if (used != rows_ || row < 0)
            rebuild();
        else if (const int line = lineOf(row); line >= 0)
            fillLine(line);
        break;
    }
    case FormChange::Corrections:
        if (row >= 0 && lineOf(row) >= 0)
            fillLine(lineOf(row));
        else
            rebuild();
        break;
    default: break;
    }
}

void CorrectionsPanel::rebuild() {
    rows_.clear();
    for (int r = 0; r < kSourceRows; ++r)
        if (model_.source(r).classify() >= Free) rows_.push_back(r);
    filling_ = true;
    table_->setRowCount(int(rows_.size()));
    filling_ = false;
    for (int line = 0; line < int(rows_.size()); ++line) fillLine(line);
}

void CorrectionsPanel::fillLine(int line) {
    const int row = rows_[std::size_t(line)];
    const Correction c = [&] {
        const auto it = model_.corrections().find(row);
        return it == model_.corrections().end() ? Correction{} : it->second;
    }();
    filling_ = true;
    const QString texts[BottleColumn] = {QString::number(row + 1), toQ(model_.source(row).text()),
                                         percentText(c.purityPct), percentText(c.excessPct)};
    for (int col = 0; col < BottleColumn; ++col) {
        QTableWidgetItem* item = table_->item(line, col);
        if (!item) {
            item = new QTableWidgetItem;
            if (col < PurityColumn) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            if (col != FormulaColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(line, col, item);
        }
        if (item->text() != texts[col]) item->setText(texts[col]);
    }
    // The bottles of this compound, to take the corrections from.
    const std::vector<const store::Bottle*> offers = bottlesFor(row);
    auto* combo = qobject_cast<QComboBox*>(table_->cellWidget(line, BottleColumn));
    if (offers.empty()) {
        if (combo) table_->removeCellWidget(line, BottleColumn);
        if (!table_->item(line, BottleColumn)) {
            auto* item = new QTableWidgetItem;
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            table_->setItem(line, BottleColumn, item);
        }
        table_->item(line, BottleColumn)->setText(c.lot.empty() ? QString() : tr("lot %1").arg(toQ(c.lot)));
    } else {
        if (!combo) {
            combo = new QComboBox;
            combo->setFocusPolicy(Qt::ClickFocus);
            combo->setAccessibleName(tr("Bottle for row %1").arg(row + 1));
            table_->setCellWidget(line, BottleColumn, combo);
            connect(combo, &QComboBox::activated, this, [this, combo](int index) {
                const int line = table_->indexAt(combo->pos()).row();
                const int source = sourceRow(line);
                if (source >= 0 && index > 0) chooseBottle(source, combo->itemData(index).toLongLong());
            });
        }
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItem(offers.size() == 1 ? tr("1 bottle") : tr("%1 bottles").arg(offers.size()), 0);
        combo->setToolTip(tr("Take the purity and excess of a bottle from the library"));
        int current = 0;
        for (const store::Bottle* b : offers) {
            combo->addItem(bottleText(*b), QVariant::fromValue<qlonglong>(b->id));
            if (c.bottleId && *c.bottleId == b->id) current = combo->count() - 1;
        }
        combo->setCurrentIndex(current);
    }
    filling_ = false;
}

void CorrectionsPanel::chooseBottle(int sourceRow, std::int64_t bottleId) {
    for (const store::Bottle& b : bottles_)
        if (b.id == bottleId) {
            model_.setCorrection(sourceRow, {b.purityPct, b.excessPct, b.id, b.lot});
            say({});
            return;
        }
}

void CorrectionsPanel::cellEdited(QTableWidgetItem* item) {
    if (filling_ || (item->column() != PurityColumn && item->column() != ExcessColumn)) return;
    const int row = sourceRow(item->row());
    if (row < 0) return;
    const bool purity = item->column() == PurityColumn;
    const std::string text = item->text().trimmed().toStdString();
    double value = 0.0;
    const bool number = !text.empty() && scanDecimal(text, 0, value) == text.size();
    if (!number || !(purity ? purityInRange(value) : excessInRange(value))) {
        say(purity ? tr("Row %1: the purity must be a number above 0 and at most 100, not \"%2\".")
                         .arg(row + 1)
                         .arg(item->text())
                   : tr("Row %1: the excess must be a number from 0 to 100, not \"%2\".")
                         .arg(row + 1)
                         .arg(item->text()));
        fillLine(item->row());
        return;
    }
    Correction c = [&] {
        const auto it = model_.corrections().find(row);
        return it == model_.corrections().end() ? Correction{} : it->second;
    }();
    (purity ? c.purityPct : c.excessPct) = value;
    say({});
    model_.setCorrection(row, c);
}

}  // namespace qv::app
