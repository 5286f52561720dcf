// Loads arbitrary bytes as a recipe file into a whole form (in-memory window,
// shipped element table and a four-element one), checks the form after the
// load, then saves what was loaded and checks that it loads back unchanged.

#include "core/formula_text.h"
#include "form/headless_form.h"
#include "fuzz_support.h"
#include "output/output_grams.h"
#include "output/text_report.h"
#include "recipe/recipe_file.h"
#include "support/recipe_scratch.h"

using namespace qv;

namespace {

// Filled once, before the first input.
ElementTable smallTable;
WidthTable widths;
const FormulaStyle style{.widthTable = &widths};

RecipeResult load(HeadlessForm& f, std::string_view bytes) {
    static const fuzz::ScratchFile scratch("recipe");
    QV_FUZZ_CHECK(fuzz::writeFile(scratch.path, bytes));
    const std::size_t messagesBefore = f.messages.size();
    const RecipeResult result = loadRecipe(f.model, scratch.path);
    fuzz::checkModel(f.model, f.include, f.exclude);
    const bool failed = result == RecipeResult::Failed;
    QV_FUZZ_CHECK(f.messages.size() == messagesBefore + (failed ? 1 : 0));
    if (!failed) return result;
    // A failed load says so once and leaves an empty form with the default
    // include flags.
    QV_FUZZ_CHECK(f.messages.back().text == kRecipeLoadFailedText && f.model.elementUse().empty());
    QV_FUZZ_CHECK(f.model.finalCompound().edit().length() == 0);
    for (int row = 0; row < kSourceRows; ++row) QV_FUZZ_CHECK(f.model.source(row).edit().length() == 0);
    for (int e = 0; e < f.model.elementTable().count(); ++e)
        QV_FUZZ_CHECK(f.model.elementTable().included(e) == f.model.elementTable().metal(e));
    return result;
}

// What a save writes, or nothing when the form cannot be saved (a bad
// mass or final compound, or a line too long for the loader's buffer).
std::optional<std::string> savedText(HeadlessForm& f) {
    static const fuzz::ScratchFile saved("saved");
    if (saveRecipe(f.model, saved.path) != RecipeResult::Done) return std::nullopt;
    return test::readFileBytes(saved.path);
}

// "Output" on the loaded form: the report for the file's grams.
void report(HeadlessForm& f) {
    if (!f.model.outputEnabled()) return;
    double grams = 0.0;
    if (readOutputGrams(f.model.gramsText(), grams) != GramCheck::Ok) return;
    const std::string tag = f.model.sampleTag();
    for (bool difference : {true, false})
        if (const auto text = weighingReportText(f.model, tag, grams, difference))
            QV_FUZZ_CHECK(text->find(kReportHeader) != std::string::npos);
}

void run(const ElementTable& elements, std::string_view bytes) {
    HeadlessForm first(elements, &style);
    if (load(first, bytes) != RecipeResult::Done) return;
    report(first);

    // A saved form must load back: the first save rounds the numbers to five
    // decimals and writes hydrates bracketed, after that saving and loading
    // change nothing.
    const auto once = savedText(first);
    if (!once) return;
    HeadlessForm second(elements, &style);
    QV_FUZZ_CHECK(load(second, *once) == RecipeResult::Done);
    QV_FUZZ_CHECK(second.model.finalCompound().text() ==
                  bracketedFormula(first.model.finalCompound().text()));
    for (int row = 0; row < kSourceRows; ++row) {
        const Formula &before = first.model.source(row), &after = second.model.source(row);
        if (before.classify() >= Free)
            QV_FUZZ_CHECK(after.text() == bracketedFormula(before.text()) && after.fixed() == before.fixed());
    }
    QV_FUZZ_CHECK(second.model.elementTable().includeFlagsText() ==
                  first.model.elementTable().includeFlagsText());

    const auto twice = savedText(second);
    HeadlessForm third(elements, &style);
    QV_FUZZ_CHECK(twice && load(third, *twice) == RecipeResult::Done && savedText(third) == twice);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fuzz::ScratchFile atoms("small-atoms");
    QV_FUZZ_CHECK(fuzz::writeFile(atoms.path, "1 Ba 137.33\n2 Ti 47.87\n3 C 12.01 m\n4 O 16 m\n"));
    QV_FUZZ_CHECK(smallTable.loadElementTable(atoms.path) == 4);
    fillWidthTable(
        widths, [](char c) { return c >= 'A' && c <= 'Z' ? 11 : 8; }, [](char) { return 5; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    run(smallTable, bytes);
    run(fuzz::shippedElements(), bytes);
    return 0;
}
