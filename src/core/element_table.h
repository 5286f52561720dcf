#pragma once
// The element table: symbols, atomic weights and metal markers loaded once
// from ATOMS.LST. Everything else names an element by its element index, its
// 0-based position among the element lines of that file.

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace qv {

struct Element {
    std::string symbol;  // 1 to 3 bytes, case kept as written
    double atomicWeight = 0.0;
    bool metal = true;     // false for lines marked "m" or "M"
    bool included = true;  // gives an equation (the Include list)
};

class ElementTable {
public:
    static constexpr int kCapacity = 120;

    // Element count (>= 0) on success; -1 cannot open, -2 read error,
    // -3 malformed element line, -4 a 121st element.
    int loadElementTable(const std::string& path);

    // Element index of the symbol (exact, case-sensitive), or -1.
    int findElement(std::string_view symbol) const;

    void resetIncludeFlags();
    std::string includeFlagsText() const;
    // Length of the text on success, -1 on failure (earlier flags stay set).
    int applyIncludeFlagsText(std::string_view text);

    int count() const { return count_; }
    const Element& element(int index) const { return elements_[index]; }
    const std::string& symbol(int index) const { return elements_[index].symbol; }
    double atomicWeight(int index) const { return elements_[index].atomicWeight; }
    bool metal(int index) const { return elements_[index].metal; }
    bool included(int index) const { return elements_[index].included; }
    void setIncluded(int index, bool value) { elements_[index].included = value; }

private:
    void buildSortedIndex();

    int count_ = 0;
    std::array<Element, kCapacity> elements_{};
    // (symbol, element index) in ascending byte order, for findElement.
    std::array<std::pair<std::string, int>, kCapacity> sorted_{};
    int sortedCount_ = 0;
};

}  // namespace qv
