#pragma once
// One character of a formula text with its layout.

#include <cstdint>

namespace qv {

struct GlyphCell {
    char ch = 0;
    std::int32_t x = -1;         // left edge in text coordinates, pixels
    std::int32_t width = 0;      // advance, from the width table at insertion
    std::int32_t fullSize = -1;  // 1 letters and brackets (baseline), 0 subscript
};

}  // namespace qv
