#include "output/word_report.h"

#include <memory>

#include "core/formula_text.h"
#include "core/number_format.h"
#include "form/model.h"
#include "output/text_report.h"
#include "output/weighing.h"
#include "output/word_automation.h"

namespace qv {
namespace {

// Opens the remembered document, or adds one and remembers its name.
std::unique_ptr<WordDocument> reportDocument(WordApplication& app, std::string& lastName) {
    std::unique_ptr<WordDocuments> documents = app.documents();
    const int count = documents->count();
    for (int i = 1; i <= count; ++i) {
        std::unique_ptr<WordDocument> document = documents->item(i);
        if (document->name() == lastName) return document;
    }
    std::unique_ptr<WordDocument> document = documents->add();
    lastName = document->name();
    return document;
}

void typeReport(Model& model, WordApplication& app, const WeighingAmounts& amounts,
                std::string_view sampleTag, double grams, bool showDifference) {
    std::unique_ptr<WordSelection> selection = app.selection();
    std::unique_ptr<WordFont> font = selection->font();
    font->setName(kWordFontName);
    font->setSize(kWordFontSize);

    const std::string equals(kReportRuleWidth, '=');
    selection->typeText("ID: " + std::string(sampleTag) + "\n");
    typeFormula(*selection, *font, model.finalCompound().text());
    selection->typeText("  (" + formatDecimal(grams, 6) + " grams)  ");
    if (showDifference) {
        const std::string residual = balanceResidual(model);
        selection->typeText("  + ");
        if (residual.empty())
            selection->typeText("None");
        else
            typeFormula(*selection, *font, residual);
    }
    selection->typeText("\n");
    selection->typeText(equals + "\n");
    selection->typeText(std::string(kReportHeader) + "\n");
    selection->typeText(equals + "\n");
    for (const WeighingAmount& row : amounts.rows) {
        typeFormula(*selection, *font, model.source(row.row).text());
        // Only the molar mass part is filled: the formula before it was typed
        // in a proportional face anyway.
        std::string mass = "  (" + formatDecimal(row.molarMass, 6) + ")";
        if (mass.size() < static_cast<std::size_t>(kReportFirstColumnWidth))
            mass.resize(kReportFirstColumnWidth, ' ');
        selection->typeText(mass);
        selection->typeText(formatDecimal(row.grams, 6));
        selection->typeParagraph();
    }
    selection->typeText(std::string(kReportRuleWidth, '-') + "\n");
    for (int i = 0; i < 3; ++i) selection->typeParagraph();
}

}  // namespace

void typeFormula(WordSelection& selection, WordFont& font, std::string_view text) {
    for (const FormulaRun& run : formulaRuns(text)) {
        font.setSubscript(!run.fullSize);
        selection.typeText(run.text);
    }
    font.setSubscript(false);
}

WordReportOutcome writeWordReport(Model& model, WordOffice& office, std::string& lastDocumentName,
                                  std::string_view sampleTag, double grams, bool showDifference) {
    // Without a molar mass every amount would be inf or nan: refuse before
    // anything reaches the document.
    const WeighingAmounts amounts = computeWeighingAmounts(model, grams);
    if (!amounts.ok) return WordReportOutcome::NoAmounts;
    try {
        std::unique_ptr<WordApplication> app = office.connect();
        if (!app) return WordReportOutcome::NoOffice;
        reportDocument(*app, lastDocumentName)->activate();
        typeReport(model, *app, amounts, sampleTag, grams, showDifference);
        app->setVisible(true);
        return WordReportOutcome::Typed;
    } catch (...) {
        return WordReportOutcome::Failed;
    }
}

}  // namespace qv
