// Loads arbitrary bytes as a recipe file into a whole form (in-memory window,
// shipped element table and a four-element one), checks the form after the
// load, then saves what was loaded and checks that it loads back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/formula_text.h"
#include "form/edit/formula_style.h"
#include "form/edit/width_table.h"
#include "form/headless_form.h"
#include "fuzz_support.h"
#include "model_checks.h"
#include "output/output_grams.h"
#include "output/text_report.h"
#include "recipe/recipe_file.h"
#include "support/recipe_scratch.h"

using namespace qv;

namespace {

constexpr std::string_view kSmallTable =
    "1 Ba 137.33\n"
    "2 Ti 47.87\n"
    "3 C 12.01 m\n"
    "4 O 16 m\n";

struct Tables {
    ElementTable small;
    WidthTable widths;
    FormulaStyle style{.widthTable = &widths};
};

Tables& tables() {
    static Tables t;
    return t;
}

struct Form : HeadlessForm {
    explicit Form(const ElementTable& elements) : HeadlessForm(elements, &tables().style) {}

    void check() const { fuzz::checkModel(model, include, exclude); }
};

RecipeResult load(Form& f, std::string_view bytes) {
    static const fuzz::ScratchFile scratch(fuzz::scratchPath("recipe"));
    QV_FUZZ_CHECK(fuzz::writeFile(scratch.path, bytes));
    const std::size_t messagesBefore = f.messages.size();
    const RecipeResult result = loadRecipe(f.model, scratch.path);
    f.check();
    if (result == RecipeResult::Failed) {
        // A failed load says so once and leaves an empty form with the
        // default include flags.
        QV_FUZZ_CHECK(f.messages.size() == messagesBefore + 1);
        QV_FUZZ_CHECK(f.messages.back().text == kRecipeLoadFailedText);
        QV_FUZZ_CHECK(f.model.finalCompound().edit().length() == 0);
        for (int row = 0; row < kSourceRows; ++row) QV_FUZZ_CHECK(f.model.source(row).edit().length() == 0);
        QV_FUZZ_CHECK(f.model.elementUse().empty());
        for (int e = 0; e < f.model.elementTable().count(); ++e)
            QV_FUZZ_CHECK(f.model.elementTable().included(e) == f.model.elementTable().metal(e));
    } else {
        QV_FUZZ_CHECK(f.messages.size() == messagesBefore);
    }
    return result;
}

// What a save writes, or nothing when the form cannot be saved (a bad
// mass or final compound, or a line too long for the loader's buffer).
bool savedText(Form& f, std::string& out) {
    static const fuzz::ScratchFile saved(fuzz::scratchPath("saved"));
    if (saveRecipe(f.model, saved.path) != RecipeResult::Done) return false;
    out = test::readFileBytes(saved.path);
    return true;
}

// "Output" on the loaded form: the report for the file's grams.
void report(Form& f) {
    if (!f.model.outputEnabled()) return;
    double grams = 0.0;
    if (readOutputGrams(f.model.gramsText(), grams) != GramCheck::Ok) return;
    const std::string tag = f.model.sampleTag();
    for (bool difference : {true, false}) {
        const auto text = weighingReportText(f.model, tag, grams, difference);
        if (text) QV_FUZZ_CHECK(text->find(kReportHeader) != std::string::npos);
    }
}

void run(const ElementTable& elements, std::string_view bytes) {
    Form first(elements);
    if (load(first, bytes) != RecipeResult::Done) return;
    report(first);

    // A saved form must load back: the first save rounds the numbers to five
    // decimals and writes hydrates bracketed, after that saving and loading
    // change nothing.
    std::string once;
    if (!savedText(first, once)) return;
    Form second(elements);
    QV_FUZZ_CHECK(load(second, once) == RecipeResult::Done);
    QV_FUZZ_CHECK(second.model.finalCompound().text() ==
                  bracketedFormula(first.model.finalCompound().text()));
    for (int row = 0; row < kSourceRows; ++row) {
        const Formula& before = first.model.source(row);
        const Formula& after = second.model.source(row);
        if (before.classify() >= Free) {
            QV_FUZZ_CHECK(after.text() == bracketedFormula(before.text()));
            QV_FUZZ_CHECK(after.fixed() == before.fixed());
        }
    }
    QV_FUZZ_CHECK(second.model.elementTable().includeFlagsText() ==
                  first.model.elementTable().includeFlagsText());

    std::string twice;
    QV_FUZZ_CHECK(savedText(second, twice));
    Form third(elements);
    QV_FUZZ_CHECK(load(third, twice) == RecipeResult::Done);
    std::string thrice;
    QV_FUZZ_CHECK(savedText(third, thrice));
    QV_FUZZ_CHECK(thrice == twice);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Tables& t = tables();
    const std::string& path = fuzz::scratchPath("small-atoms");
    QV_FUZZ_CHECK(fuzz::writeFile(path, kSmallTable));
    QV_FUZZ_CHECK(t.small.loadElementTable(path) == 4);
    std::remove(path.c_str());
    fillWidthTable(
        t.widths, [](char c) { return c >= 'A' && c <= 'Z' ? 11 : 8; }, [](char) { return 5; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    run(tables().small, bytes);
    run(fuzz::shippedElements(), bytes);
    return 0;
}
