#pragma once
// A composition series: one recipe solved again for every value of a
// variable, the final compound written from a template such as
// "Ba{1-x}Sr{x}TiO3" in which each {expression} is a count. The command line
// and the window's Series dialog both run it.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/corrections.h"

namespace qv {

class ElementTable;
class Model;

// FROM, FROM + STEP, ... up to TO inclusive, each computed as FROM + i*STEP
// and cleaned to 15 significant digits, so 3 * 0.1 is 0.3 and the last value
// is not lost to rounding.
struct SeriesRange {
    double from = 0.0;
    double to = 0.0;
    double step = 0.0;
};

inline constexpr std::size_t kMaxSeriesValues = 1000000;

// Reads "FROM:TO:STEP". False, with the reason in `error`.
bool parseSeriesRange(std::string_view text, SeriesRange& range, std::string& error);
// The values of the range. False, with the reason in `error`, when STEP is 0
// (unless FROM is TO), leads away from TO, or gives more than kMaxSeriesValues.
bool seriesValues(const SeriesRange& range, std::vector<double>& values, std::string& error);

class CountTemplate {
public:
    CountTemplate();
    ~CountTemplate();
    CountTemplate(const CountTemplate&) = delete;
    CountTemplate& operator=(const CountTemplate&) = delete;

    // Splits the template into text and {expressions} over the one variable
    // and compiles the expressions. False, with the reason in `error`, for
    // unbalanced or empty braces, a brace that follows neither an element
    // symbol nor ")", or an expression that does not compile.
    bool compile(std::string_view text, const std::string& variable, std::string& error);

    struct Expansion {
        std::string formula;
        std::string error;  // not empty: this value has no formula (a negative count)
    };
    // Each count written with up to six decimals; a count of 0 drops its
    // element or bracketed group.
    Expansion expand(double value) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A listed source row (Free or Fixed), as the series prints it.
struct SeriesColumn {
    int row = 0;  // 0..29
    std::string formula;
    bool fixed = false;
    double molarMass = 0.0;
    double purity = 100.0;  // percent, 0 < purity <= 100
    double excess = 0.0;    // percent added for losses in firing
};

struct SampleAmount {
    double ratio = 0.0;
    double grams = 0.0;           // for a pure material
    double gramsCorrected = 0.0;  // what to weigh at the row's purity and excess
};

struct SeriesSample {
    double value = 0.0;
    std::string formula;
    bool ok = false;
    std::string status;                 // "ok", or why there is no answer
    double ratio = 0.0;                 // of the final compound
    std::optional<double> molarMass;    // of the final compound, when it parsed
    std::vector<SampleAmount> amounts;  // one per column, empty without an answer
    std::string residual;               // the balance residual
};

// The loaded recipe's listed rows in row order, with their purities and
// excesses (rows without a correction are pure, without excess).
std::vector<SeriesColumn> seriesColumns(const Model& model, const Corrections& corrections);
// The same from percentages by row.
std::vector<SeriesColumn> seriesColumns(const Model& model, const std::map<int, double>& purityByRow,
                                        const std::map<int, double>& excessByRow = {});

// One sample: the model (loaded, with its form) gets the expanded final
// compound, the solver runs, and the answer is weighed for `grams`. A non-empty
// `gramsRefused` is the reason the grams cannot be used.
SeriesSample runSample(Model& model, const std::vector<SeriesColumn>& columns, double value,
                       const CountTemplate::Expansion& expansion, double grams,
                       std::string_view gramsRefused);

// A variable name: a letter or "_", then letters, digits or "_".
bool isSeriesVariableName(std::string_view name);
// The field names of the series' JSON, which a variable must not shadow.
bool isSeriesFieldName(std::string_view name);

// What the Series dialog shows while the user types: the sample formulas,
// each with what is wrong with it, or one message for the whole series.
struct PreviewLine {
    double value = 0.0;
    std::string formula;
    std::string problem;              // empty: the formula parses
    std::optional<double> molarMass;  // when it parses
};
struct SeriesPreview {
    std::string error;  // not empty: no samples (a bad name, range or template)
    std::vector<PreviewLine> lines;
};
inline constexpr std::size_t kMaxPreviewSamples = 1000;
SeriesPreview previewSeries(const ElementTable& table, std::string_view finalTemplate,
                            const std::string& variable, const SeriesRange& range);

// Every sample of a preview solved on the model (a loaded copy of the
// recipe): runSample for each line, its problem as the expansion's error.
std::vector<SeriesSample> solveSeries(Model& model, const std::vector<SeriesColumn>& columns,
                                      const SeriesPreview& preview, double grams,
                                      std::string_view gramsRefused);

}  // namespace qv
