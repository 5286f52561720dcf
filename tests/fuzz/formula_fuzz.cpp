// Parses arbitrary formula texts against the shipped element table, evaluates
// the composition twice and checks that its text form reads back as the same
// composition. The same bytes go to the readers of typed numbers (the gram
// field, recipe number fields) and to the decimal formatting.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/composition.h"
#include "core/formula_parser.h"
#include "core/number_format.h"
#include "fuzz_support.h"
#include "output/output_grams.h"
#include "recipe/recipe_file.h"

using namespace qv;

namespace {

const ElementTable& table() { return fuzz::shippedElements(); }

// The formatted value must read back within the six decimals it keeps.
void checkFormat(double value) {
    const std::string text = formatDecimal(value, 6);
    QV_FUZZ_CHECK(!text.empty());
    if (!std::isfinite(value)) return;
    double back = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
    QV_FUZZ_CHECK(ec == std::errc() && end == text.data() + text.size());
    QV_FUZZ_CHECK(std::fabs(back - value) <= 5e-7 + std::fabs(value) * 1e-15);
    if (text.find('.') != std::string::npos) QV_FUZZ_CHECK(text.back() != '0' && text.back() != '.');
}

// Element symbols that the parser itself can name.
bool parserCanName(const std::string& s) {
    return !s.empty() && s[0] >= 'A' && s[0] <= 'Z' &&
           std::all_of(s.begin() + 1, s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkFormat(raw);
    }

    // Typed numbers: the gram field and the number fields of the form.
    double value = 0.0;
    if (readOutputGrams(text, value) == GramCheck::Ok) QV_FUZZ_CHECK(std::isfinite(value) && value != 0.0);
    if (readNumberField(text, value)) {
        QV_FUZZ_CHECK(std::isfinite(value) && size <= static_cast<std::size_t>(kNumberFieldMax));
        checkFormat(value);
    }
    std::string trimmed(text);
    const int length = trimBlanks(trimmed);
    QV_FUZZ_CHECK(length == static_cast<int>(trimmed.size()) && trimmed.size() <= size);
    QV_FUZZ_CHECK(checkParentheses(text) == 0 || checkParentheses(text) == 1);
    std::unique_ptr<FormulaNode> tree;
    const int result = parseFormula(table(), text, &tree);
    QV_FUZZ_CHECK((result == 0 || result == -1 || result == -2) && parseFormula(table(), text) == result);
    QV_FUZZ_CHECK(result == 0 ? tree && tree->kind == NodeKind::Group && tree->depth == 0 : !tree);
    if (result != 0) return 0;

    // A parsed formula has finite amounts, the same on a second evaluation.
    Composition first, second;
    QV_FUZZ_CHECK(evaluateFormula(1.0, tree.get(), first) == 0 &&
                  evaluateFormula(1.0, tree.get(), second) == 0 && first == second);
    bool readable = true;
    for (const auto& [element, amount] : first) {
        QV_FUZZ_CHECK(element >= 0 && element < table().count() && std::isfinite(amount));
        checkFormat(amount);
        if (!std::isfinite(amount) || std::fabs(amount) > 1e12 || !parserCanName(table().symbol(element)))
            readable = false;
    }

    const std::string formText = compositionText(table(), first);
    if (!readable) return 0;

    // The text form drops amounts below the zero tolerance and keeps six
    // decimals of the rest; reading it back must give the same composition.
    std::unique_ptr<FormulaNode> again;
    Composition back;
    QV_FUZZ_CHECK(parseFormula(table(), formText, &again) == 0 &&
                  evaluateFormula(1.0, again.get(), back) == 0);
    for (const auto& [element, amount] : first) {
        const auto it = back.find(element);
        QV_FUZZ_CHECK(std::fabs(amount) < kZeroTolerance
                          ? it == back.end()
                          : it != back.end() &&
                                std::fabs(it->second - amount) <= 1e-6 + std::fabs(amount) * 1e-12);
    }
    QV_FUZZ_CHECK(back.size() <= first.size());
    return 0;
}
