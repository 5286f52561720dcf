#include "app/weighing_sheet.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/sheet_print.h"
#include "core/number_format.h"
#include "plan/as_weighed.h"
#include "plan/minimum_weight.h"
#include "plan/session_record.h"
#include "store/lab_database.h"

namespace qv::app {

namespace {

QString decimal(double v, int decimals = 6) { return QString::fromStdString(formatDecimal(v, decimals)); }

// "+1.17 %", "-0.5 %", and "0 %" for what rounds to nothing.
QString signedPct(double v) {
    if (std::fabs(v) < 0.005) return QStringLiteral("0 %");
    return (v > 0 ? QStringLiteral("+") : QString()) + decimal(v, 2) + QStringLiteral(" %");
}

QTableWidgetItem* item(const QString& text, bool number) {
    auto* it = new QTableWidgetItem(text);
    it->setFlags(Qt::ItemIsEnabled);
    if (number) it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return it;
}

}  // namespace

QString formulaHtml(const WeighingPlan& plan, const std::vector<double>& counts) {
    QString html;
    for (std::size_t e = 0; e < counts.size() && e < plan.elements.size(); ++e) {
        html += QString::fromStdString(plan.elements[e].symbol);
        const QString count = decimal(counts[e], 4);
        if (count != QLatin1String("1")) html += QStringLiteral("<sub>%1</sub>").arg(count);
    }
    return html;
}

WeighingSheet::WeighingSheet(WeighingPlan plan, const QString& sampleTag, const std::string& recipeText,
                             const BenchSettings& settings, const QString& dbPath, QWidget* parent)
    : QDialog(parent),
      session_(std::move(plan)),
      sampleTag_(sampleTag),
      recipeText_(recipeText),
      settings_(settings),
      dbPath_(dbPath) {
    setWindowTitle(tr("Weighing sheet"));
    port_ = new balance::BalancePort(this);
    port_->setSettings(settings_.port);

    header_ = new QLabel;
    header_->setTextFormat(Qt::RichText);

    const int rows = session_.size();
    table_ = new QTableWidget(rows, ColumnCount);
    table_->setHorizontalHeaderLabels({tr("Row"), tr("Reactant"), tr("To weigh (g)"), tr("Actual (g)"),
                                       tr("Target (g)"), tr("Still to add (g)"), tr("Note"), QString()});
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(NoteColumn, QHeaderView::Stretch);
    for (int i = 0; i < rows; ++i) {
        const PlanRow& r = session_.plan().rows[i];
        table_->setItem(i, RowColumn, item(QString::number(r.row + 1), true));
        table_->setItem(i, FormulaColumn, item(QString::fromStdString(r.formula), false));
        table_->setItem(i, PlannedColumn, item(decimal(r.planned), true));
        for (const int c : {TargetColumn, ToAddColumn}) table_->setItem(i, c, item({}, true));
        table_->setItem(i, NoteColumn, item({}, false));
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("actual%1").arg(i));
        edit->setAccessibleName(tr("Actual grams of %1").arg(QString::fromStdString(r.formula)));
        edit->setAlignment(Qt::AlignRight);
        edit->setPlaceholderText(tr("weighed"));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, i] { actualTyped(i); });
        connect(edit, &QLineEdit::returnPressed, this, [this, i] {
            if (i + 1 < actual_.size()) actual_[i + 1]->setFocus();
        });
        table_->setCellWidget(i, ActualColumn, edit);
        actual_ << edit;
        auto* discardButton = new QPushButton(tr("Discard"));
        discardButton->setToolTip(tr("Throw this powder away and weigh it again"));
        connect(discardButton, &QPushButton::clicked, this, [this, i] { discard(i); });
        table_->setCellWidget(i, DiscardColumn, discardButton);
    }

    minimum_ = new QLabel;
    minimum_->setWordWrap(true);
    minimum_->setStyleSheet(QStringLiteral("color: #9a4a00"));

    asWeighed_ = new QLabel;
    asWeighed_->setTextFormat(Qt::RichText);
    // Room for the formula and the deviations from the start, so that the
    // sheet does not jump when the last row is weighed.
    asWeighed_->setMinimumHeight(QFontMetrics(QFont(QStringLiteral("serif"), 15)).height() +
                                 2 * fontMetrics().height());
    per_ = new QComboBox;
    per_->addItem(tr("counts add up to the final compound's"));
    for (const PlanElement& e : session_.plan().elements)
        per_->addItem(tr("%1 as in the final compound").arg(QString::fromStdString(e.symbol)));
    connect(per_, &QComboBox::currentIndexChanged, this, [this] { refreshComposition(); });
    auto* compositionBox = new QGroupBox(tr("Composition as weighed"));
    auto* compositionForm = new QFormLayout(compositionBox);
    compositionForm->addRow(asWeighed_);
    compositionForm->addRow(tr("&Scaled so that:"), per_);

    change_ = new QLabel;
    before_ = new QLineEdit;
    fired_ = new QLineEdit;
    firing_ = new QLabel;
    firing_->setWordWrap(true);
    for (QLineEdit* edit : {before_, fired_}) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000.000000")));
        connect(edit, &QLineEdit::textEdited, this, [this] {
            changed_ = true;
            refreshFiring();
        });
    }
    auto* firingBox = new QGroupBox(tr("Firing check"));
    auto* firingForm = new QFormLayout(firingBox);
    firingForm->addRow(change_);
    firingForm->addRow(tr("Mass &before firing (g):"), before_);
    firingForm->addRow(tr("Mass &after firing (g):"), fired_);
    firingForm->addRow(firing_);

    message_ = new QLabel;
    message_->setWordWrap(true);

    read_ = new QPushButton(tr("&Read balance"));
    read_->setToolTip(tr("Fill the active row with the balance's stable weight"));
    auto* settingsButton = new QPushButton(tr("&Balance..."));
    auto* printButton = new QPushButton(tr("&Print..."));
    auto* pdfButton = new QPushButton(tr("Export P&DF..."));
    auto* recordButton = new QPushButton(tr("Re&cord"));
    auto* closeButton = new QPushButton(tr("Close"));
    connect(read_, &QPushButton::clicked, this, &WeighingSheet::readBalance);
    connect(settingsButton, &QPushButton::clicked, this, &WeighingSheet::editBalanceSettings);
    connect(printButton, &QPushButton::clicked, this, &WeighingSheet::print);
    connect(pdfButton, &QPushButton::clicked, this, &WeighingSheet::exportPdf);
    connect(recordButton, &QPushButton::clicked, this, &WeighingSheet::record);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(port_, &balance::BalancePort::stableWeight, this, [this](double grams) {
        read_->setEnabled(true);
        const int row = active_;
        actual_[row]->setText(decimal(grams));
        actualTyped(row);
        showMessage(
            tr("Row %1: %2 g from the balance.").arg(session_.plan().rows[row].row + 1).arg(decimal(grams)),
            false);
        for (int next = 1; next <= session_.size(); ++next) {
            const int i = (row + next) % session_.size();
            if (!session_.actual(i)) {
                setActiveRow(i);
                break;
            }
        }
    });
    connect(port_, &balance::BalancePort::notTaken, this, [this](const QString& text) {
        read_->setEnabled(true);
        showMessage(text + tr(" Read it again."), true);
    });
    connect(port_, &balance::BalancePort::failed, this, [this](const QString& text) {
        read_->setEnabled(true);
        showMessage(text, true);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read_);
    buttons->addWidget(settingsButton);
    buttons->addStretch();
    buttons->addWidget(printButton);
    buttons->addWidget(pdfButton);
    buttons->addWidget(recordButton);
    buttons->addWidget(closeButton);
    auto* lower = new QHBoxLayout;
    lower->addWidget(compositionBox, 1);
    lower->addWidget(firingBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header_);
    layout->addWidget(table_, 1);
    layout->addWidget(minimum_);
    layout->addLayout(lower);
    layout->addWidget(message_);
    layout->addLayout(buttons);

    // Return in a mass field goes to the next row, never to a button.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    setActiveRow(0);
    refresh();
    table_->resizeColumnsToContents();
    resize(std::max(760, sizeHint().width()), sizeHint().height());
}

WeighingSheet::~WeighingSheet() = default;

void WeighingSheet::setActiveRow(int i) {
    active_ = i;
    for (int r = 0; r < session_.size(); ++r) {
        QFont font = table_->item(r, RowColumn)->font();
        font.setBold(r == i);
        table_->item(r, RowColumn)->setFont(font);
        table_->item(r, FormulaColumn)->setFont(font);
    }
}

bool WeighingSheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const int i = actual_.indexOf(qobject_cast<QLineEdit*>(watched));
        if (i >= 0) setActiveRow(i);
    }
    return QDialog::eventFilter(watched, event);
}

void WeighingSheet::actualTyped(int i) {
    std::optional<double> grams;
    const bool ok = readField(actual_[i]->text(), grams) && (!grams || *grams >= 0);
    actual_[i]->setStyleSheet(ok ? QString() : QStringLiteral("background: #ffd6d6"));
    if (!ok) {
        session_.clearActual(i);
        showMessage(tr("Row %1: \"%2\" is not a mass in grams; type a number such as 8.4623.")
                        .arg(session_.plan().rows[i].row + 1)
                        .arg(actual_[i]->text()),
                    true);
    } else if (grams) {
        session_.setActual(i, *grams);
        message_->clear();
    } else {
        session_.clearActual(i);
    }
    changed_ = true;
    refresh();
}

void WeighingSheet::discard(int i) {
    const std::optional<double> was = session_.actual(i);
    if (!was) return;
    session_.discard(i);
    actual_[i]->clear();
    actual_[i]->setStyleSheet({});
    changed_ = true;
    setActiveRow(i);
    refresh();
    showMessage(
        tr("Row %1: %2 g discarded; weigh it again.").arg(session_.plan().rows[i].row + 1).arg(decimal(*was)),
        false);
}

void WeighingSheet::refresh() {
    const WeighingPlan& plan = session_.plan();
    header_->setText(tr("<b>ID:</b> %1 &nbsp; <b>%2</b>: %3 g asked; factor %4, so %5 g")
                         .arg(sampleTag_.toHtmlEscaped(),
                              QString::fromStdString(plan.finalFormula).toHtmlEscaped(), decimal(plan.grams),
                              decimal(session_.factor()), decimal(session_.finalGrams())));
    const MinimumWeightCheck check = checkMinimumWeight(plan, settings_.balance);
    const double doneWithin = settings_.balance.readability / 2;
    for (int i = 0; i < session_.size(); ++i) {
        const double toAdd = session_.toAdd(i);
        table_->item(i, TargetColumn)->setText(decimal(session_.target(i)));
        table_->item(i, ToAddColumn)->setText(decimal(toAdd));
        QStringList notes;
        const bool below = std::count(check.below.begin(), check.below.end(), i) > 0;
        const bool shortBy = session_.actual(i) && toAdd >= doneWithin;
        const bool smallTopUp = shortBy && belowMinimumWeight(toAdd, check.minWeight);
        if (below) notes << tr("below min. weight");
        if (shortBy) notes << tr("top up %1 g").arg(decimal(toAdd));
        if (smallTopUp) notes << tr("below min. weight");
        if (session_.actual(i) && !shortBy) notes << tr("done");
        if (below && smallTopUp) notes.removeFirst();
        QTableWidgetItem* note = table_->item(i, NoteColumn);
        note->setText(notes.join(QStringLiteral(", ")));
        note->setToolTip(below || smallTopUp ? tr("The balance weighs amounts below %1 g less precisely than "
                                                  "the tolerance asks for.")
                                                   .arg(decimal(check.minWeight))
                                             : QString());
        const bool warn = below || smallTopUp;
        note->setForeground(warn ? QColor(0x9a, 0x4a, 0x00) : palette().color(QPalette::Text));
        table_->item(i, PlannedColumn)->setBackground(below ? QColor(0xff, 0xe8, 0xc8) : QBrush());
    }
    const std::string notice = minimumWeightNotice(plan, check);
    minimum_->setText(QString::fromStdString(notice));
    minimum_->setVisible(!notice.empty());
    refreshComposition();
    refreshFiring();
}

void WeighingSheet::refreshComposition() {
    const int per = per_->currentIndex() - 1;
    const std::optional<ElementCounts> counts = asWeighedCounts(session_, per);
    if (!counts) {
        asWeighed_->setText(tr("<i>Shown once every row has its actual mass.</i>"));
        return;
    }
    const std::vector<double> deviation =
        deviationPct(*counts, plannedCounts(session_.plan(), per).value_or(ElementCounts{}));
    QStringList parts;
    for (std::size_t e = 0; e < deviation.size(); ++e)
        parts << QString::fromStdString(session_.plan().elements[e].symbol) + QStringLiteral(" ") +
                     signedPct(deviation[e]);
    asWeighed_->setText(QStringLiteral("<span style=\"font-family: serif; font-size: 15pt\">%1</span>"
                                       "<br>%2")
                            .arg(formulaHtml(session_.plan(), *counts),
                                 tr("against the plan: %1").arg(parts.join(QStringLiteral(", ")))));
}

void WeighingSheet::refreshFiring() {
    const std::optional<double> change = expectedMassChangePct(session_.plan());
    change_->setText(change ? tr("Complete reaction changes the mass by %1.").arg(signedPct(*change))
                            : tr("The plan weighs nothing."));
    before_->setPlaceholderText(decimal(session_.actualSum()));
    std::optional<double> before, fired;
    if (!readField(before_->text(), before) || !readField(fired_->text(), fired)) {
        firing_->setText(tr("Type the masses as numbers such as 10.1887."));
        return;
    }
    if (!fired) {
        firing_->clear();
        return;
    }
    const Completeness c = firingCompleteness(change, before.value_or(session_.actualSum()), *fired);
    firing_->setText(c.pct ? tr("Completeness: %1 %").arg(decimal(*c.pct, 1))
                           : QString::fromStdString(c.message));
}

void WeighingSheet::showMessage(const QString& text, bool problem) {
    message_->setStyleSheet(problem ? QStringLiteral("color: #b00000") : QString());
    message_->setText(text);
}

void WeighingSheet::readBalance() {
    read_->setEnabled(false);
    showMessage(tr("Reading the balance for row %1...").arg(session_.plan().rows[active_].row + 1), false);
    port_->requestReading();
}

bool WeighingSheet::record() {
    store::LabDatabase db;
    const std::string path = dbPath_.isEmpty() ? store::LabDatabase::defaultPath() : dbPath_.toStdString();
    if (db.open(path, dbPath_.isEmpty()) != store::OpenStatus::Ok) {
        showMessage(QString::fromStdString(db.error()), true);
        return false;
    }
    store::Session s =
        sessionRecord(session_, recipeText_, sampleTag_.toStdString(), per_->currentIndex() - 1);
    std::optional<double> before, fired;
    if (readField(fired_->text(), fired) && fired && *fired >= 0 && readField(before_->text(), before))
        applyFiredMass(s, *fired, before);
    const std::optional<std::int64_t> id = db.recordSession(s);
    if (!id) {
        showMessage(QString::fromStdString(db.error()), true);
        return false;
    }
    recorded_ = *id;
    changed_ = false;
    showMessage(tr("Recorded as session %1.").arg(*id), false);
    return true;
}

SheetSection WeighingSheet::section() const {
    SheetSection s = sheetSection(session_, sampleTag_, settings_.balance);
    if (asWeighedCounts(session_))
        s.notes << tr("As weighed: %1")
                       .arg(asWeighed_->text()
                                .section(QStringLiteral("<br>"), 0, 0)
                                .remove(QRegularExpression(QStringLiteral("<[^>]*>"))));
    s.notes << change_->text();
    if (!firing_->text().isEmpty()) s.notes << firing_->text();
    return s;
}

void WeighingSheet::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) printSheets(printer, {section()});
}

void WeighingSheet::exportPdf() {
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export PDF"), sampleTag_ + QStringLiteral(".pdf"), tr("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    const QString error = exportSheetsPdf(path, {section()});
    showMessage(error.isEmpty() ? tr("Saved %1.").arg(path) : error, !error.isEmpty());
}

void WeighingSheet::editBalanceSettings() {
    BalanceSettingsDialog dialog(settings_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    settings_ = dialog.settings();
    writeBenchSettings(settings_);
    port_->setSettings(settings_.port);
    refresh();
}

void WeighingSheet::done(int result) {
    // An abandoned session is kept as well, once something was weighed.
    bool weighed = false;
    for (int i = 0; i < session_.size(); ++i) weighed = weighed || session_.actual(i).has_value();
    if (changed_ && weighed && !record())
        QMessageBox::warning(this, windowTitle(),
                             tr("The session could not be recorded:\n%1").arg(message_->text()));
    QDialog::done(result);
}

}  // namespace qv::app
