// Feeds arbitrary bytes to the element file loader as ATOMS.LST, then to the
// include-flag text reader, and checks that the table stays coherent.

#include "fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const fuzz::ScratchFile scratch("atoms");
    if (!fuzz::writeFile(scratch.path, bytes)) return 0;

    ElementTable table;
    const int result = table.loadElementTable(scratch.path), count = table.count();
    QV_FUZZ_CHECK(result >= -4 && result != -1 && count >= 0 && count <= ElementTable::kCapacity);
    QV_FUZZ_CHECK(result < 0 ? result != -4 || count == ElementTable::kCapacity : result == count);
    for (int i = 0; i < count; ++i) {
        const std::string& symbol = table.symbol(i);
        QV_FUZZ_CHECK(!symbol.empty() && symbol.size() <= 3);
        for (char c : symbol) QV_FUZZ_CHECK(static_cast<signed char>(c) > 32);
        // A complete load: every symbol can be found again, the flags are
        // the defaults.
        if (result < 0) continue;
        const int found = table.findElement(symbol);
        QV_FUZZ_CHECK(found >= 0 && found < count && table.symbol(found) == symbol);
        QV_FUZZ_CHECK(table.included(i) == table.metal(i));
    }
    if (result < 0) return 0;
    // The flags' text reads back; the same bytes as a recipe's flags line are
    // either taken whole or refused.
    const std::string flags = table.includeFlagsText();
    QV_FUZZ_CHECK(static_cast<int>(flags.size()) == count && table.applyIncludeFlagsText(flags) == count);
    QV_FUZZ_CHECK(table.includeFlagsText() == flags);
    const int applied = table.applyIncludeFlagsText(bytes);
    QV_FUZZ_CHECK(applied == -1 || applied == static_cast<int>(size));
    QV_FUZZ_CHECK(static_cast<int>(table.includeFlagsText().size()) == count);
    table.findElement(bytes.substr(0, 4));
    return 0;
}
