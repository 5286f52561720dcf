
#include "cli/cli_cases.h"
#include "version.h"

namespace qv {

TEST(CliMass, FormulasTheirFailuresAndTheElementFile) {
    test::TempDir dir;
    const std::string small = dir.write("small.lst", test::kSmallElementFile), hydrate = "CuSO4\u00B75H2O",
                      noElements = "Couldn't load data from ATOMS.LST.";
    // clang-format off
    test::expectCliCases({}, {
        // The element file shipped beside the program.
        {{"mass", "H2O", "Ca(OH)2", "CaCO3", "ZnO"}, 0, "",
         "H2O\tH2O\t18.015\nCa(OH)2\tH2O2Ca\t74.092\nCaCO3\tCO3Ca\t100.086\nZnO\tOZn\t81.379\n"},
        {{"mass", "--atoms", small, "BaTiO3", "Fe2O3", "co", "Ba(", "H0", "Ba0.5"}, 1, "",
         "BaTiO3\tO3TiBa\t233.2\nFe2O3\tO3Fe2\t159.7\nco\tinvalid\t-2\nBa(\tinvalid\t-1\nH0\t\t0\n"
         "Ba0.5\tBa0.5\t68.665\n"},
        // Hydrates, the decimal trap, and amounts that parse but overflow when summed.
        {{"mass", hydrate, "CuSO4.5H2O", "Ba0.5Sr0.5TiO3", "H1e308H1e308"}, 1,
         "quorvex-cli mass: CuSO4.5H2O is read as CuSO4.5 + H2O: \"4.5\" is one decimal count. For the hydrate "
         "write " + hydrate + " (or CuSO4*5H2O).\n",
         hydrate + "\tH10O9SCu\t249.677\nCuSO4.5H2O\tH2O5.5SCu\t185.6165\n"
         "Ba0.5Sr0.5TiO3\tO3TiSr0.5Ba0.5\t208.339\nH1e308H1e308\tinvalid\t-2\n"},
        {{"mass", "--atoms", dir.write("a.lst", "no elements here\n"), "H2O"}, 2, noElements},
        {{"mass", "--atoms", dir.write("b.lst", "1 Abcd 3\n"), "H2O"}, 2, noElements},
        {{"mass", "--atoms", (dir.path() / "none").string(), "H"}, 2, "-1"},
        {{"frobnicate"}, 64, "frobnicate"},
        {{}, 64, "usage"},
        {{"mass"}, 64, "usage"},
        {{"mass", "--atoms"}, 64, "--atoms needs a file name"},
        {{"--version"}, 0, "", "quorvex-cli " QV_VERSION "\n"},
        {{"--help"}, 0, "", "usage: quorvex-cli VERB [ARGS...]\n\nverbs:\n  mass [--atoms FILE] FORMULA..."},
    });
    // clang-format on
}

}  // namespace qv
