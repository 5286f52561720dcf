#pragma once
// The editing layout's invariants, shared by the editing tests and the fuzz
// harnesses: each cell starts where the one before it ends, with its table
// width (the normal font's for a full-size count), and every position lies inside the text.

#include <string>

#include "form/edit/edit_buffer.h"
#include "form/edit/width_table.h"

namespace qv::test {

// What is wrong with the buffer's layout; empty when nothing is.
inline std::string layoutFault(const EditBuffer& b) {
    if (b.length() < 0 || b.length() > b.capacity() || b.capacity() > kFormulaCapacity)
        return "length out of range";
    for (int pos : {b.caret(), b.anchor(), b.activeEnd()})
        if (pos < 0 || pos > b.length()) return "a position lies outside the text";
    int x = b.leftMargin();
    for (int i = 0; i < b.length(); x += b.cells()[i++].width) {
        const int width =
            b.widthTable() ? b.widthTable()->widthOf(b.cells()[i].ch, b.cells()[i].fullSize != 0) : 0;
        if (!acceptsChar(b.cells()[i].ch) || b.cells()[i].x != x || b.cells()[i].width != width)
            return "cell " + std::to_string(i) + " at " + std::to_string(b.cells()[i].x) + ", expected " +
                   std::to_string(x);
    }
    return xOfIndex(b, b.length()) == x ? "" : "the text ends elsewhere";
}

}  // namespace qv::test
