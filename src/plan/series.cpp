#include "plan/series.h"

#include <muParser.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/composition.h"
#include "core/element_table.h"
#include "core/formula_parser.h"
#include "core/formula_text.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "form/edit/edit_buffer.h"
#include "form/model.h"
#include "output/corrections.h"
#include "output/weighing.h"

namespace qv {
namespace {

// The output's own field names; a variable must not shadow them.
constexpr std::string_view kFieldNames[] = {"final_formula", "status", "grams",           "ratio",
                                            "molar_mass",    "rows",   "balance_residual"};

bool readWholeNumber(std::string_view text, double& value) {
    return !text.empty() && scanDecimal(text, 0, value) == text.size() && std::isfinite(value);
}

// FROM + i*STEP carries the binary noise of STEP (0.30000000000000004):
// values typed with fewer than 15 digits come back as typed.
double cleanValue(double value) {
    char text[40];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    double clean = value;
    std::from_chars(text, written.ptr, clean);
    return clean;
}

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }

// Length of the element symbol or bracketed group that ends `text`, 0 when
// there is none.
std::size_t ownerLength(std::string_view text) {
    if (text.empty()) return 0;
    std::size_t at = text.size();
    if (text.back() == ')') {
        int depth = 0;
        while (at > 0) {
            const char c = text[--at];
            depth += c == ')' ? 1 : c == '(' ? -1 : 0;
            if (depth == 0) return text.size() - at;
        }
        return 0;
    }
    while (at > 0 && isLower(text[at - 1])) --at;
    if (at == 0 || !isUpper(text[at - 1])) return 0;
    return text.size() - at + 1;
}

// The text ends in a part separator, so a count after it is a leading count.
bool separatorBefore(std::string_view text) {
    for (std::size_t n = 1; n <= 3 && n <= text.size(); ++n)
        if (separatorAt(text, text.size() - n) == n) return true;
    return false;
}

}  // namespace

bool parseSeriesRange(std::string_view text, SeriesRange& range, std::string& error) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos || !readWholeNumber(text.substr(0, first), range.from) ||
        !readWholeNumber(text.substr(first + 1, second - first - 1), range.to) ||
        !readWholeNumber(text.substr(second + 1), range.step)) {
        error = "the range must read FROM:TO:STEP with three numbers, not \"" + std::string(text) + "\"";
        return false;
    }
    return true;
}

bool seriesValues(const SeriesRange& range, std::vector<double>& values, std::string& error) {
    values.clear();
    const double span = range.to - range.from;
    if (span == 0.0) {
        values.push_back(range.from);
        return true;
    }
    if (range.step == 0.0 || (span > 0) != (range.step > 0)) {
        error = "the step " + formatShortest(range.step) + " does not lead from " +
                formatShortest(range.from) + " to " + formatShortest(range.to);
        return false;
    }
    const double steps = span / range.step;
    // A quotient a hair below a whole number (0.3 / 0.1) still reaches TO.
    const double whole = std::floor(steps + 1e-9 * std::max(1.0, steps));
    if (!(whole < static_cast<double>(kMaxSeriesValues))) {
        error = "the range gives more than " + std::to_string(kMaxSeriesValues) + " values";
        return false;
    }
    const auto count = static_cast<std::size_t>(whole) + 1;
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        values.push_back(cleanValue(range.from + static_cast<double>(i) * range.step));
    if (std::fabs(values.back() - range.to) <= 1e-9 * std::fabs(range.step)) values.back() = range.to;
    return true;
}

struct CountTemplate::Impl {
    struct Piece {
        std::string text;        // written before the count
        std::string expression;  // empty for the text after the last count
        bool leading = false;    // the leading count of a hydrate part (after "·")
        std::unique_ptr<mu::Parser> parser;
    };
    double variable = 0.0;  // every parser reads it
    std::vector<Piece> pieces;
};

CountTemplate::CountTemplate() : impl_(std::make_unique<Impl>()) {}
CountTemplate::~CountTemplate() = default;

bool CountTemplate::compile(std::string_view text, const std::string& variable, std::string& error) {
    impl_->pieces.clear();
    std::size_t at = 0;
    while (true) {
        const std::size_t open = text.find('{', at);
        const std::size_t stray = text.find('}', at);
        if (stray < open) {
            error = "\"}\" without \"{\" at position " + std::to_string(stray + 1) + " of the template";
            return false;
        }
        Impl::Piece piece;
        piece.text = std::string(text.substr(at, open - at));
        if (open == std::string_view::npos) {
            impl_->pieces.push_back(std::move(piece));
            return true;
        }
        const std::size_t close = text.find('}', open + 1);
        const std::size_t nested = text.find('{', open + 1);
        if (close == std::string_view::npos || nested < close) {
            error = "\"{\" at position " + std::to_string(open + 1) + " of the template is not closed";
            return false;
        }
        piece.expression = std::string(text.substr(open + 1, close - open - 1));
        const std::string where = "{" + piece.expression + "}";
        piece.leading = !piece.text.empty() && separatorBefore(piece.text);
        if (ownerLength(piece.text) == 0 && !piece.leading) {
            error = where + " follows neither an element symbol nor \")\"";
            return false;
        }
        try {
            piece.parser = std::make_unique<mu::Parser>();
            piece.parser->DefineVar(variable, &impl_->variable);
            piece.parser->SetExpr(piece.expression);
            piece.parser->Eval();  // parses now, so a typing error stops the run before it starts
            if (piece.parser->GetNumResults() != 1) {
                error = where + " gives more than one count";
                return false;
            }
        } catch (const mu::Parser::exception_type& e) {
            error = where + ": " + e.GetMsg();
            return false;
        }
        impl_->pieces.push_back(std::move(piece));
        at = close + 1;
    }
}

CountTemplate::Expansion CountTemplate::expand(double value) const {
    Expansion out;
    impl_->variable = value;
    for (const Impl::Piece& piece : impl_->pieces) {
        out.formula += piece.text;
        if (!piece.parser) continue;
        double count = 0.0;
        try {
            count = piece.parser->Eval();
        } catch (const mu::Parser::exception_type&) {
            count = NAN;
        }
        const std::string text = formatDecimal(count, 6);
        if (!std::isfinite(count)) {
            if (out.error.empty()) out.error = "The count {" + piece.expression + "} is not a finite number.";
            out.formula += "{" + piece.expression + "}";
        } else if (!piece.leading && (text == "0" || text == "-0")) {
            out.formula.resize(out.formula.size() - ownerLength(out.formula));
        } else {
            if (text[0] == '-' && out.error.empty())
                out.error = "The count {" + piece.expression + "} is negative (" + text + ").";
            out.formula += text;
        }
    }
    return out;
}

std::vector<SeriesColumn> seriesColumns(const Model& model, const Corrections& corrections) {
    std::vector<SeriesColumn> columns;
    for (int row = 0; row < kSourceRows; ++row) {
        const Formula& entry = model.source(row);
        const EntryClass cls = entry.classify();
        if (cls < Free) continue;
        const Correction c = correctionOf(&corrections, row);
        columns.push_back({row, entry.text(), cls == Fixed,
                           compositionMass(model.elementTable(), entry.composition()), c.purityPct,
                           c.excessPct});
    }
    return columns;
}

std::vector<SeriesColumn> seriesColumns(const Model& model, const std::map<int, double>& purityByRow,
                                        const std::map<int, double>& excessByRow) {
    Corrections corrections;
    for (const auto& [row, purity] : purityByRow) corrections[row].purityPct = purity;
    for (const auto& [row, excess] : excessByRow) corrections[row].excessPct = excess;
    return seriesColumns(model, corrections);
}

SeriesSample runSample(Model& model, const std::vector<SeriesColumn>& columns, double value,
                       const CountTemplate::Expansion& expansion, double grams,
                       std::string_view gramsRefused) {
    SeriesSample sample;
    sample.value = value;
    sample.formula = expansion.formula;
    Formula& final = model.finalCompound();
    sample.ratio = final.ratio();
    if (!expansion.error.empty()) {
        sample.status = expansion.error;
        return sample;
    }
    // The editor would keep only part of such a formula: no sample from it.
    const int length = countAcceptable(expansion.formula);
    if (length < 0 || length > kFormulaCapacity) {
        sample.status = "The formula has a character the formula editor refuses or is longer than " +
                        std::to_string(kFormulaCapacity) + " characters.";
        return sample;
    }
    final.setEntry(expansion.formula, final.ratio(), false);
    sample.formula = final.text();
    model.runSolver();
    if (final.classify() >= Free) sample.molarMass = final.molarMass();
    if (!model.outputEnabled()) {
        sample.status = model.status();
        if (sample.status.empty()) sample.status = "The solver found no answer.";
        return sample;
    }
    if (!gramsRefused.empty()) {
        sample.status = std::string(gramsRefused);
        return sample;
    }
    const WeighingAmounts weighed = computeWeighingAmounts(model, grams);
    if (!weighed.ok) {
        sample.status = weighed.refusal;
        return sample;
    }
    sample.ok = true;
    sample.status = "ok";
    sample.amounts.reserve(columns.size());
    auto next = weighed.rows.begin();
    for (const SeriesColumn& column : columns) {
        while (next != weighed.rows.end() && next->row < column.row) ++next;
        SampleAmount amount;
        amount.ratio = model.source(column.row).ratio();
        if (next != weighed.rows.end() && next->row == column.row) {
            amount.grams = next->grams;
            amount.gramsCorrected = correctedGrams(next->grams, {column.purity, column.excess, {}, {}});
        }
        if (!std::isfinite(amount.gramsCorrected)) {
            sample.ok = false;
            sample.amounts.clear();
            sample.status = "The corrected grams of " + column.formula + " (row " +
                            std::to_string(column.row + 1) + ") are too large to weigh.";
            return sample;
        }
        sample.amounts.push_back(amount);
    }
    sample.residual = balanceResidual(model);
    return sample;
}

bool isSeriesVariableName(std::string_view name) {
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (name.empty() || !letter(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

bool isSeriesFieldName(std::string_view name) {
    return std::find(std::begin(kFieldNames), std::end(kFieldNames), name) != std::end(kFieldNames);
}

SeriesPreview previewSeries(const ElementTable& table, std::string_view finalTemplate,
                            const std::string& variable, const SeriesRange& range) {
    SeriesPreview preview;
    std::vector<double> values;
    CountTemplate counts;
    if (!isSeriesVariableName(variable)) {
        preview.error = "The variable must be a letter or \"_\" followed by letters, digits or \"_\".";
    } else if (isSeriesFieldName(variable)) {
        preview.error = "\"" + variable + "\" names an output field; choose another name.";
    } else if (finalTemplate.empty()) {
        preview.error = "Type the final compound with {expressions} for its varying counts.";
    } else if (std::string error; !counts.compile(finalTemplate, variable, error)) {
        preview.error = "Template: " + error;
    } else if (!seriesValues(range, values, error)) {
        preview.error = "Range: " + error;
    } else if (values.size() > kMaxPreviewSamples) {
        preview.error = "The range gives " + std::to_string(values.size()) + " samples; at most " +
                        std::to_string(kMaxPreviewSamples) + " fit in one series here.";
    }
    if (!preview.error.empty()) return preview;
    preview.lines.reserve(values.size());
    for (const double value : values) {
        CountTemplate::Expansion expansion = counts.expand(value);
        PreviewLine& line = preview.lines.emplace_back();
        line.value = value;
        line.formula = std::move(expansion.formula);
        line.problem = std::move(expansion.error);
        if (!line.problem.empty()) continue;
        std::unique_ptr<FormulaNode> tree;
        Composition composition;
        if (parseFormula(table, line.formula, &tree) != ParseOk ||
            evaluateFormula(1.0, tree.get(), composition) != 0)
            line.problem = "Not a valid formula.";
        else
            line.molarMass = compositionMass(table, composition);
    }
    return preview;
}

std::vector<SeriesSample> solveSeries(Model& model, const std::vector<SeriesColumn>& columns,
                                      const SeriesPreview& preview, double grams,
                                      std::string_view gramsRefused) {
    std::vector<SeriesSample> samples;
    samples.reserve(preview.lines.size());
    for (const PreviewLine& line : preview.lines)
        samples.push_back(
            runSample(model, columns, line.value, {line.formula, line.problem}, grams, gramsRefused));
    return samples;
}

}  // namespace qv
