#include "core/element_table.h"

#include <cstdint>
#include <cstdio>
#include <memory>

#include "core/number_scan.h"

namespace qv {
namespace {

// A blank is any byte that is at most 32 as a signed byte: the control
// characters, the space and every byte from 128 up.
bool isBlank(char c) { return static_cast<signed char>(c) <= 32; }

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    return pos;
}

std::size_t tokenLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    while (end < text.size() && !isBlank(text[end])) ++end;
    return end - pos;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads at most `limit` bytes, stopping after a line feed, like fgets with a
// buffer of limit + 1. Embedded zero bytes are kept (as blanks) instead of
// silently cutting the piece short. False when nothing was read.
bool readPiece(std::FILE* file, std::string& piece, std::size_t limit) {
    piece.clear();
    while (piece.size() < limit) {
        const int c = std::getc(file);
        if (c == EOF) break;
        piece.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !piece.empty();
}

constexpr std::size_t kPieceLength = 99;

}  // namespace

int ElementTable::loadElementTable(const std::string& path) {
    count_ = 0;
    sortedCount_ = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file) return -1;

    std::string piece;
    while (readPiece(file.get(), piece, kPieceLength)) {
        const std::string_view line(piece);
        long index = 0;
        const std::size_t indexLength = scanLong(line, 0, index);
        if (indexLength == 0 || index != static_cast<long>(count_) + 1) continue;

        const std::size_t symbolStart = skipBlanks(line, indexLength);
        const std::size_t symbolLength = tokenLength(line, symbolStart);
        if (symbolLength == 0 || symbolLength > 3) return -3;

        double weight = 0.0;
        const std::size_t weightStart = symbolStart + symbolLength;
        const std::size_t weightLength = scanDecimal(line, weightStart, weight);
        if (weightLength == 0) return -3;

        const std::size_t markerPos = skipBlanks(line, weightStart + weightLength);
        const bool metal = !(markerPos < line.size() && (line[markerPos] == 'm' || line[markerPos] == 'M'));

        if (count_ >= kCapacity) return -4;
        Element& e = elements_[count_];
        e.symbol.assign(line.substr(symbolStart, symbolLength));
        e.atomicWeight = weight;
        e.metal = metal;
        e.included = true;
        ++count_;
    }
    if (std::ferror(file.get())) return -2;

    buildSortedIndex();
    resetIncludeFlags();
    return count_;
}

void ElementTable::buildSortedIndex() {
    sortedCount_ = count_;
    for (int i = 0; i < count_; ++i) sorted_[i] = {elements_[i].symbol, i};
    // A plain exchange sort: at most 120 entries, run once, and it never swaps
    // equal symbols, so duplicates keep file order.
    for (int i = 0; i + 1 < sortedCount_; ++i) {
        for (int j = i + 1; j < sortedCount_; ++j) {
            if (std::string_view(sorted_[i].first) > std::string_view(sorted_[j].first))
                std::swap(sorted_[i], sorted_[j]);
        }
    }
}

int ElementTable::findElement(std::string_view symbol) const {
    // char_traits<char> compares bytes as unsigned values: "C" < "Ca" < "Cl".
    int lo = 0;
    int hi = sortedCount_ - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int cmp = symbol.compare(sorted_[mid].first);
        if (cmp == 0) return sorted_[mid].second;
        if (cmp < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return -1;
}

void ElementTable::resetIncludeFlags() {
    for (int i = 0; i < count_; ++i) elements_[i].included = elements_[i].metal;
}

std::string ElementTable::includeFlagsText() const {
    std::string text;
    text.reserve(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i) text.push_back(elements_[i].included ? '1' : '0');
    return text;
}

int ElementTable::applyIncludeFlagsText(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) return -1;
    const std::size_t n = static_cast<std::size_t>(count_);
    for (std::size_t pos = 0; pos < text.size() || pos < n; ++pos) {
        if (pos >= text.size()) return -1;  // shorter than the table
        const char c = text[pos];
        if (c != '0' && c != '1') return -1;
        if (pos < n) elements_[pos].included = c == '1';
    }
    return static_cast<int>(text.size());
}

}  // namespace qv
