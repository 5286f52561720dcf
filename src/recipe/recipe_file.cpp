#include "recipe/recipe_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/formula_text.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "form/edit/edit_buffer.h"
#include "form/element_lists.h"
#include "form/model.h"
#include "recipe/corrections_file.h"
#include "recipe/safe_file.h"
#include "recipe/text_encoding.h"

namespace qv {
namespace {

constexpr int kKindFlags = -2;
constexpr int kKindSampleTag = -1;
constexpr int kKindFinal = 0;

// One piece of a line, at most kRecipeLineBuffer - 1 bytes, from `pos` on. A
// line ends at LF, CR LF or a lone CR, so files from any platform read alike.
// False at the end of the text.
bool readPiece(std::string_view bytes, std::size_t& pos, std::string& piece) {
    piece.clear();
    constexpr std::size_t kMax = kRecipeLineBuffer - 1;
    while (piece.size() < kMax && pos < bytes.size()) {
        const char c = bytes[pos++];
        piece.push_back(c);
        if (c == '\n') break;
        if (c == '\r') {
            if (pos < bytes.size() && bytes[pos] == '\n' && piece.size() < kMax)
                piece.push_back(bytes[pos++]);
            break;
        }
    }
    return !piece.empty();
}

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return bytes;
}

// A number field of a line: a decimal real that fits a double.
bool scanField(std::string_view line, std::size_t& pos, double& value) {
    const std::size_t used = scanDecimal(line, pos, value);
    if (used == 0 || !std::isfinite(value)) return false;
    pos += used;
    return true;
}

std::string restAfter(std::string_view line, std::size_t pos) {
    std::string rest(line.substr(pos));
    trimBlanks(rest);
    return rest;
}

// The editor would keep only the part of a formula before its first refused
// character, or its first 480 characters: such a line fails the load rather
// than lose the rest of the formula unnoticed.
bool fitsEditor(std::string_view formula) {
    const int count = countAcceptable(formula);
    return count >= 0 && count <= kFormulaCapacity;
}

// Applies one trimmed, non-empty line. False makes the whole load fail.
bool applyLine(Model& model, std::string_view line) {
    long kind = 0;
    std::size_t pos = scanLong(line, 0, kind);
    if (pos == 0) return false;

    if (kind == kKindFlags) {
        std::size_t start = pos;
        while (start < line.size() && isCSpace(static_cast<unsigned char>(line[start]))) ++start;
        std::size_t end = line.size();
        while (end > start && isCSpace(static_cast<unsigned char>(line[end - 1]))) --end;
        const int applied = model.elementTable().applyIncludeFlagsText(line.substr(start, end - start));
        // Elements listed by earlier lines follow their new flags (also after a
        // partly applied text, so that clearing the form finds every item).
        if (!model.elementUse().empty()) rebuildElementLists(model);
        return applied >= 0;
    }
    if (kind == kKindSampleTag) {
        model.setSampleTag(restAfter(line, pos));
        return true;
    }
    if (kind == kKindFinal) {
        double mass = 0.0;
        double ratio = 0.0;
        if (!scanField(line, pos, mass) || !scanField(line, pos, ratio)) return false;
        const std::string formula = restAfter(line, pos);
        if (!fitsEditor(formula)) return false;
        Formula& final = model.finalCompound();
        final.setEntry(formula, ratio, false);
        // As if typed into the ratio edit: the solver runs.
        model.setFinalRatioText(final.ratioText());
        model.setGramsText(formatDecimal(mass, 6));
        return true;
    }
    if (kind >= 1 && kind <= kSourceRows) {
        long fixFlag = 0;
        const std::size_t used = scanLong(line, pos, fixFlag);
        if (used == 0) return false;
        pos += used;
        double ratio = 0.0;
        if (!scanField(line, pos, ratio)) return false;
        const std::string formula = restAfter(line, pos);
        if (!fitsEditor(formula)) return false;
        model.source(static_cast<int>(kind) - 1).setEntry(formula, ratio, fixFlag != 0);
        return true;
    }
    return false;
}

RecipeResult failLoad(Model& model, std::FILE* file) {
    if (file) std::fclose(file);
    model.clearAll();
    model.elementTable().resetIncludeFlags();
    model.notify(FormChange::Row);
    model.message(kRecipeLoadFailedText, kRecipeErrorTitle, MessageIcon::Exclamation);
    return RecipeResult::Failed;
}

void appendFixed5(std::string& out, double value) {
    // Room for the widest double in fixed notation.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 5);
    out.append(buffer, result.ptr);
}

// Longest line without its CR LF: the loader would split a longer one into
// pieces and fail on the second.
std::size_t longestLine(std::string_view text) {
    std::size_t longest = 0;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        longest = std::max(longest, std::min(end, text.size()));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    }
    return longest;
}

}  // namespace

int trimBlanks(std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const auto c = static_cast<unsigned char>(text[start]);
        if (c < 1 || c > 32) break;
        ++start;
    }
    std::size_t end = text.size();
    while (end > start) {
        // Blanks and control bytes go; bytes above 127 are characters and stay.
        const auto c = static_cast<unsigned char>(text[end - 1]);
        if (c >= 33) break;
        --end;
    }
    text = text.substr(start, end - start);
    return static_cast<int>(text.size());
}

bool readNumberField(std::string_view raw, double& value) {
    value = 0.0;
    if (raw.size() > static_cast<std::size_t>(kNumberFieldMax)) return false;
    std::string text(raw);
    if (trimBlanks(text) == 0) return true;
    double read = 0.0;
    if (scanDecimal(text, 0, read) != text.size() || std::isinf(read)) return false;
    value = read;
    return true;
}

RecipeResult loadRecipe(Model& model, const std::string& path, TextEncoding* readAs) {
    model.clearAll();

    const std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) return failLoad(model, nullptr);
    // One encoding for the whole file: UTF-8 when it is valid UTF-8, else the
    // Western code page older versions wrote.
    const TextEncoding encoding = isValidUtf8(*bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    if (readAs) *readAs = encoding;

    std::string piece;
    std::size_t pos = 0;
    while (readPiece(*bytes, pos, piece)) {
        // The loader sees text: anything after a NUL byte is not part of the line.
        if (const auto nul = piece.find('\0'); nul != std::string::npos) piece.resize(nul);
        if (encoding == TextEncoding::Windows1252) piece = windows1252ToUtf8(piece);
        if (trimBlanks(piece) == 0) continue;
        if (!applyLine(model, piece)) return failLoad(model, nullptr);
    }

    // The lines hold hydrates bracketed; the companion has them as typed.
    const CorrectionsRead beside = readCorrectionsFile(model, path);
    for (const auto& [row, typed] : beside.asTyped) {
        Formula& entry = model.source(row);
        if (typed != entry.text() && fitsEditor(typed)) entry.setEntry(typed, entry.ratio(), entry.fixed());
    }
    model.runSolver();
    return RecipeResult::Done;
}

std::optional<double> checkRecipeForSave(Model& model) {
    double mass = 0.0;
    if (!readNumberField(model.gramsText(), mass)) {
        model.message(kRecipeBadMassText, kRecipeErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (model.finalCompound().classify() < Free) {
        model.message(kRecipeBadFinalText, kRecipeErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return mass;
}

std::string recipeText(Model& model, double mass) {
    std::string out;
    out += "-2 ";
    out += model.elementTable().includeFlagsText();
    out += "\r\n-1 ";
    out += model.sampleTag();
    out += "\r\n0 ";
    appendFixed5(out, mass);
    out += ' ';
    appendFixed5(out, model.finalCompound().ratio());
    out += ' ';
    out += bracketedFormula(model.finalCompound().text());
    out += "\r\n";
    for (int row = 0; row < kSourceRows; ++row) {
        const Formula& entry = model.source(row);
        const EntryClass cls = entry.classify();
        if (cls < Free) continue;
        out += std::to_string(row + 1);
        out += cls == Fixed ? " 1 " : " 0 ";
        appendFixed5(out, entry.ratio());
        out += ' ';
        out += bracketedFormula(entry.text());
        out += "\r\n";
    }
    return out;
}

RecipeResult writeRecipeFile(Model& model, const std::string& path, double mass, TextEncoding preferred) {
    std::string text = recipeText(model, mass);
    // A file read as Windows-1252 stays so while every character fits it.
    if (std::string bytes; preferred == TextEncoding::Windows1252 && utf8ToWindows1252(text, bytes))
        text = std::move(bytes);
    std::string_view failure;
    if (longestLine(text) > static_cast<std::size_t>(kRecipeLineBuffer - 1))
        failure = kRecipeLineTooLongText;
    else if (!replaceFileContents(path, text))
        failure = kRecipeSaveFailedText;
    else
        return RecipeResult::Done;
    model.message(failure, kRecipeErrorTitle, MessageIcon::Exclamation);
    return RecipeResult::Failed;
}

RecipeResult saveRecipe(Model& model, const std::string& path, TextEncoding preferred) {
    const std::optional<double> mass = checkRecipeForSave(model);
    if (!mass) return RecipeResult::Failed;
    return writeRecipeFile(model, path, *mass, preferred);
}

}  // namespace qv
