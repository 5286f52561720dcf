// Feeds arbitrary bytes to the element file loader as ATOMS.LST, then to the
// include-flag text reader, and checks that the table stays coherent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/element_table.h"
#include "fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const fuzz::ScratchFile scratch(fuzz::scratchPath("atoms"));
    const std::string& path = scratch.path;
    if (!fuzz::writeFile(path, bytes)) return 0;

    ElementTable table;
    int result = table.loadElementTable(path);
    QV_FUZZ_CHECK(result >= -4 && result != -1);
    QV_FUZZ_CHECK(table.count() >= 0 && table.count() <= ElementTable::kCapacity);
    if (result >= 0) QV_FUZZ_CHECK(result == table.count());
    if (result == -4) QV_FUZZ_CHECK(table.count() == ElementTable::kCapacity);

    for (int i = 0; i < table.count(); ++i) {
        const std::string& symbol = table.symbol(i);
        QV_FUZZ_CHECK(!symbol.empty() && symbol.size() <= 3);
        for (char c : symbol) QV_FUZZ_CHECK(static_cast<signed char>(c) > 32);
    }
    if (result < 0) return 0;

    // A complete load: every symbol can be found again, the flags are the
    // defaults and their text reads back.
    for (int i = 0; i < table.count(); ++i) {
        int found = table.findElement(table.symbol(i));
        QV_FUZZ_CHECK(found >= 0 && found < table.count());
        QV_FUZZ_CHECK(table.symbol(found) == table.symbol(i));
        QV_FUZZ_CHECK(table.included(i) == table.metal(i));
    }
    std::string flags = table.includeFlagsText();
    QV_FUZZ_CHECK(static_cast<int>(flags.size()) == table.count());
    QV_FUZZ_CHECK(table.applyIncludeFlagsText(flags) == table.count());
    QV_FUZZ_CHECK(table.includeFlagsText() == flags);

    // The same bytes as a recipe's flags line: either taken whole or refused.
    int applied = table.applyIncludeFlagsText(bytes);
    QV_FUZZ_CHECK(applied == -1 || applied == static_cast<int>(size));
    QV_FUZZ_CHECK(static_cast<int>(table.includeFlagsText().size()) == table.count());
    table.findElement(bytes.substr(0, 4));
    return 0;
}
