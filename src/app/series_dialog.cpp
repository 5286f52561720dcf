#include "app/series_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cmath>

#include "core/number_format.h"
#include "core/number_scan.h"
#include "form/headless_form.h"
#include "output/output_grams.h"
#include "plan/series_output.h"
#include "recipe/recipe_file.h"

namespace qv::app {
namespace {

QString toQ(const std::string& text) { return QString::fromStdString(text); }
std::string fromQ(const QLineEdit* edit) { return edit->text().trimmed().toStdString(); }

// A whole-field number in the point notation, whatever the locale.
bool readNumber(const QLineEdit* edit, double& value) {
    const std::string text = fromQ(edit);
    return !text.empty() && scanDecimal(text, 0, value) == text.size() && std::isfinite(value);
}

QLineEdit* numberEdit(const char* name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    return edit;
}

}  // namespace

SeriesDialog::SeriesDialog(const ElementTable& table, const SeriesStart& start, QWidget* parent)
    : QDialog(parent), table_(table), form_(std::make_unique<HeadlessForm>(table)), start_(start) {
    setWindowTitle(tr("Composition Series"));
    setObjectName(QLatin1String("seriesDialog"));

    // The samples run on a copy of the form, loaded from its recipe text.
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String("series.qvs"));
    QFile file(path);
    if (dir.isValid() && file.open(QIODevice::WriteOnly) &&
        file.write(start.recipe.data(), qint64(start.recipe.size())) == qint64(start.recipe.size())) {
        file.close();
        loaded_ = loadRecipe(form_->model, QFile::encodeName(path).toStdString()) == RecipeResult::Done;
    }
    if (loaded_) columns_ = seriesColumns(form_->model, start.corrections);

    template_ = new QLineEdit(toQ(start.finalFormula), this);
    template_->setObjectName(QLatin1String("template"));
    template_->setPlaceholderText(tr("Ba{1-x}Sr{x}TiO3"));
    template_->setToolTip(tr("Write each count that varies as an {expression} of the variable."));
    variableEdit_ = numberEdit("variable", QStringLiteral("x"), this);
    from_ = numberEdit("from", QStringLiteral("0"), this);
    to_ = numberEdit("to", QStringLiteral("0.5"), this);
    step_ = numberEdit("step", QStringLiteral("0.1"), this);
    gramsEdit_ = numberEdit("grams", toQ(start.grams), this);

    auto* form = new QFormLayout;
    form->addRow(tr("&Final compound:"), template_);
    auto* range = new QHBoxLayout;
    const std::pair<const char*, QLineEdit*> fields[] = {{"&Variable:", variableEdit_},
                                                         {"F&rom:", from_},
                                                         {"&To:", to_},
                                                         {"&Step:", step_},
                                                         {"&Grams:", gramsEdit_}};
    for (const auto& [label, edit] : fields) {
        auto* l = new QLabel(tr(label), this);
        l->setBuddy(edit);
        range->addWidget(l);
        range->addWidget(edit);
    }
    range->addStretch();
    form->addRow(range);

    message_ = new QLabel(this);
    message_->setObjectName(QLatin1String("message"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    tableWidget_ = new QTableWidget(this);
    tableWidget_->setObjectName(QLatin1String("samples"));
    tableWidget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableWidget_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableWidget_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableWidget_->verticalHeader()->hide();
    tableWidget_->horizontalHeader()->setStretchLastSection(true);
    tableWidget_->setAlternatingRowColors(true);

    copy_ = new QPushButton(tr("&Copy"), this);
    exportCsv_ = new QPushButton(tr("Export CS&V ..."), this);
    exportJson_ = new QPushButton(tr("Export &JSON ..."), this);
    open_ = new QPushButton(tr("&Open in form"), this);
    print_ = new QPushButton(tr("&Print ..."), this);
    exportPdf_ = new QPushButton(tr("Export P&DF ..."), this);
    print_->setObjectName(QLatin1String("print"));
    exportPdf_->setObjectName(QLatin1String("exportPdf"));
    copy_->setObjectName(QLatin1String("copy"));
    exportCsv_->setObjectName(QLatin1String("exportCsv"));
    exportJson_->setObjectName(QLatin1String("exportJson"));
    open_->setObjectName(QLatin1String("openInForm"));
    for (QPushButton* b : {copy_, exportCsv_, exportJson_, print_, exportPdf_, open_})
        b->setAutoDefault(false);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {copy_, exportCsv_, exportJson_, print_, exportPdf_, open_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addWidget(tableWidget_, 1);
    layout->addLayout(buttons);

    for (QLineEdit* edit : {template_, variableEdit_, from_, to_, step_, gramsEdit_})
        connect(edit, &QLineEdit::textChanged, this, &SeriesDialog::update);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(copy_, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(tableText()); });
    connect(exportCsv_, &QPushButton::clicked, this,
            [this] { exportTo(tr("CSV files (*.csv)"), csvText()); });
    connect(exportJson_, &QPushButton::clicked, this,
            [this] { exportTo(tr("JSON files (*.json)"), jsonText()); });
    connect(print_, &QPushButton::clicked, this, &SeriesDialog::print);
    connect(exportPdf_, &QPushButton::clicked, this, &SeriesDialog::exportPdf);
    connect(open_, &QPushButton::clicked, this, &SeriesDialog::openSelected);
    connect(tableWidget_, &QTableWidget::itemSelectionChanged, this,
            [this] { open_->setEnabled(!tableWidget_->selectedItems().isEmpty()); });
    connect(tableWidget_, &QTableWidget::cellDoubleClicked, this, &SeriesDialog::openSelected);

    resize(760, 440);
    update();
}

SeriesDialog::~SeriesDialog() = default;

QString SeriesDialog::message() const { return message_->text(); }

void SeriesDialog::update() {
    samples_.clear();
    variable_ = fromQ(variableEdit_);
    SeriesRange range;
    std::string error;
    if (!loaded_) {
        error = "The form could not be copied for the series.";
    } else if (!readNumber(from_, range.from)) {
        error = "From: \"" + fromQ(from_) + "\" is not a number.";
    } else if (!readNumber(to_, range.to)) {
        error = "To: \"" + fromQ(to_) + "\" is not a number.";
    } else if (!readNumber(step_, range.step)) {
        error = "Step: \"" + fromQ(step_) + "\" is not a number.";
    }
    SeriesPreview preview;
    if (error.empty()) {
        preview = previewSeries(table_, template_->text().trimmed().toStdString(), variable_, range);
        error = preview.error;
    }
    const GramCheck check = readOutputGrams(fromQ(gramsEdit_), grams_);
    gramsOk_ = check == GramCheck::Ok;
    if (error.empty())
        samples_ = solveSeries(form_->model, columns_, preview, grams_, gramCheckMessage(check));

    if (!error.empty()) {
        message_->setText(toQ(error));
        message_->setStyleSheet(QStringLiteral("color: #b00020;"));
    } else {
        const auto failed =
            std::count_if(samples_.begin(), samples_.end(), [](const auto& s) { return !s.ok; });
        QString text = samples_.size() == 1 ? tr("1 sample") : tr("%1 samples").arg(samples_.size());
        if (failed > 0) text += tr(", %n without an answer", nullptr, int(failed));
        if (!gramsOk_) text += QLatin1String(" ") + toQ(std::string(gramCheckMessage(check)));
        message_->setText(text);
        message_->setStyleSheet(failed > 0 || !gramsOk_ ? QStringLiteral("color: #b00020;") : QString());
    }
    fillTable();
}

void SeriesDialog::fillTable() {
    QStringList headers{toQ(variable_), tr("Final compound")};
    for (const SeriesColumn& c : columns_) headers << toQ(c.formula) + tr(" (g)");
    headers << tr("Status");
    tableWidget_->clear();
    tableWidget_->setColumnCount(int(headers.size()));
    tableWidget_->setHorizontalHeaderLabels(headers);
    tableWidget_->setRowCount(int(samples_.size()));
    const int statusColumn = int(headers.size()) - 1;
    for (int r = 0; r < int(samples_.size()); ++r) {
        const SeriesSample& s = samples_[std::size_t(r)];
        auto* value = new QTableWidgetItem(toQ(formatDecimal(s.value, 6)));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tableWidget_->setItem(r, 0, value);
        tableWidget_->setItem(r, 1, new QTableWidgetItem(toQ(s.formula)));
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            auto* grams =
                new QTableWidgetItem(s.ok ? toQ(fixedGrams(s.amounts[c].gramsCorrected)) : QString());
            grams->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tableWidget_->setItem(r, int(c) + 2, grams);
        }
        auto* status = new QTableWidgetItem(toQ(s.status));
        status->setToolTip(status->text());
        if (!s.ok) status->setForeground(QColor(0xb0, 0x00, 0x20));
        tableWidget_->setItem(r, statusColumn, status);
    }
    tableWidget_->resizeColumnsToContents();
    const bool any = !samples_.empty();
    for (QPushButton* b : {copy_, exportCsv_, exportJson_}) b->setEnabled(any);
    const bool anyAnswer = std::any_of(samples_.begin(), samples_.end(), [](const auto& s) { return s.ok; });
    for (QPushButton* b : {print_, exportPdf_}) b->setEnabled(anyAnswer && gramsOk_);
    open_->setEnabled(any && !tableWidget_->selectedItems().isEmpty());
}

std::string SeriesDialog::csvText() const { return seriesCsv(variable_, columns_, samples_); }

std::string SeriesDialog::jsonText() const {
    nlohmann::ordered_json doc = nlohmann::ordered_json::array();
    for (const SeriesSample& s : samples_)
        doc.push_back(seriesSampleJson(variable_, columns_, s, grams_, gramsOk_));
    return doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

QString SeriesDialog::tableText() const {
    QString out;
    for (int c = 0; c < tableWidget_->columnCount(); ++c)
        out +=
            (c > 0 ? QLatin1String("\t") : QLatin1String("")) + tableWidget_->horizontalHeaderItem(c)->text();
    out += QLatin1Char('\n');
    for (int r = 0; r < tableWidget_->rowCount(); ++r) {
        for (int c = 0; c < tableWidget_->columnCount(); ++c) {
            if (c > 0) out += QLatin1Char('\t');
            if (const QTableWidgetItem* item = tableWidget_->item(r, c)) out += item->text();
        }
        out += QLatin1Char('\n');
    }
    return out;
}

QList<SheetSection> SeriesDialog::sheetSections() const {
    QList<SheetSection> sections;
    for (std::size_t i = 0; i < samples_.size(); ++i) {
        const SeriesSample& s = samples_[i];
        if (!s.ok) continue;
        SheetSection section;
        section.title = tr("Series sample %1 of %2: %3 = %4")
                            .arg(i + 1)
                            .arg(samples_.size())
                            .arg(toQ(variable_), toQ(formatDecimal(s.value, 6)));
        section.sampleTag = toQ(form_->model.sampleTag());
        section.finalFormula = toQ(s.formula);
        section.grams = grams_;
        for (std::size_t c = 0; c < columns_.size(); ++c)
            section.rows.push_back({columns_[c].row + 1, toQ(columns_[c].formula), s.amounts[c].grams,
                                    s.amounts[c].gramsCorrected, std::nullopt, std::nullopt, false});
        sections.push_back(section);
    }
    return sections;
}

void SeriesDialog::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) printSheets(printer, sheetSections());
}

void SeriesDialog::exportPdf() {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Export PDF"), QString(), tr("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    if (const QString error = exportSheetsPdf(path, sheetSections()); !error.isEmpty())
        QMessageBox::warning(this, windowTitle(), error);
}

void SeriesDialog::exportTo(const QString& filter, const std::string& text) {
    QFileDialog dialog(this, tr("Export"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QFile file(dialog.selectedFiles().constFirst());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.flush()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("Could not write %1: %2").arg(file.fileName(), file.errorString()));
    }
}

void SeriesDialog::openSelected() {
    const QList<QTableWidgetItem*> items = tableWidget_->selectedItems();
    if (items.isEmpty()) return;
    const int row = items.constFirst()->row();
    if (row < 0 || row >= int(samples_.size())) return;
    const std::string& formula = samples_[std::size_t(row)].formula;
    if (formula.find('{') != std::string::npos) return;  // the count did not expand
    emit openInForm(toQ(formula));
}

}  // namespace qv::app
