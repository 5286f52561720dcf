
#include "cli/cli_cases.h"

namespace qv {

TEST(CliRecipes, ReportOptionsExitStatusesThenSolveInPlace) {
    test::TempDir dir;
    const auto file = [&](const std::string& name) { return (dir.path() / name).string(); };
    const std::string
        atoms = dir.write("atoms.lst", test::kBaTiCOElementFile),
        broken = dir.write("b.qvs", "0 1 1 BaTiO3\n31 0 1 TiO2\n"),
        recipe = dir.write(
            "bt.qvs",
            "-2 1100\r\n-1 S1\r\n0 10.00000 1.00000 BaTiO3\r\n1 0 0.00000 BaCO3\r\n2 0 0.00000 TiO2\r\n");
    const std::string example(test::kBariumTitanateReport),
        answer = "Quorvex could obtain an answer for you.";
    // Only the second row overflows: BaO stays finite at 1e308 g.
    const std::string big = dir.write("big.qvs", "-1 T\n0 10 1 BaO0.001\n1 1 1 BaO\n2 1 1 BaC9O\n"),
                      overflow = "The grams of BaC9O (row 2) are too large to weigh.";
    // Corrections from a companion file, the library's bottle over it, a flag over both.
    const std::string db = file("lab.sqlite"), freeRow = "\"fixed\":false,\"ratio\":1,\"molar_mass\":";
    ASSERT_EQ(
        test::runCli({"library", "--db", db, "--atoms", atoms, "add", "O2Ti", "--purity", "80"}).exitCode, 0);
    const std::string corrected = dir.write("c.qvs", test::readFileBytes(recipe)),
                      damaged = dir.write("d.qvs", test::readFileBytes(recipe));
    dir.write("c.qvs.json", R"({"format": "quorvex-corrections", "version": 1, "rows": [
        {"row": 1, "formula": "BaCO3", "purity_pct": 50, "excess_pct": 10},
        {"row": 2, "formula": "TiO2", "purity_pct": 90}]})");
    dir.write("d.qvs.json", "{damaged");
    const auto head = [&](const std::string& path) {
        return R"({"file":")" + path +
               R"(","sample_tag":"S1","final_formula":"BaTiO3","grams":10,"ratio":1,)"
               R"("molar_mass":233.20000000000002,"status":")" +
               answer + R"(","rows":[{"row":1,"formula":"BaCO3",)" + freeRow +
               "197.34,\"grams\":8.462264150943396";
    };
    // clang-format off
    test::expectCliCases({"report", "--atoms", atoms}, {
        {{recipe}, 0, answer + "\n", example},
        {{"--json", recipe}, 0, "",
         head(recipe) + R"(},{"row":2,"formula":"TiO2",)" + freeRow +
         R"(79.87,"grams":3.424957118353345}],"balance_residual":"CO2"})" "\n"},
        {{"--json", "--library", db, "--excess", "BaCO3=0", corrected, broken}, 1, "Failed to load a file.\n",
         head(corrected) + R"(,"purity_pct":50,"excess_pct":0,"grams_corrected":16.92452830188679},)"
         R"({"row":2,"formula":"TiO2",)" + freeRow + R"(79.87,"grams":3.424957118353345,"purity_pct":80,)"
         R"("excess_pct":0,"grams_corrected":4.281196397941681}],"balance_residual":"CO2"})" "\n"
         R"({"file":")" + broken + R"(","status":"Failed to load a file.","rows":[]})" "\n"},
        {{"--purity", "TiO2=99.5", damaged}, 0, "d.qvs.json could not be read",
         "ID: S1\nBaTiO3  (10 grams)  + CO2\n" + std::string(88, '=') + "\n"
         "Reactant  (Molar Mass)              Amount Weighed(g)  Purity(%)  Excess(%)  To Weigh(g)\n" +
         std::string(88, '-') + "\n"
         "BaCO3  (197.34)                      8.462264           100        0          8.462264\n"
         "TiO2  (79.87)                        3.424957           99.5       0          3.442168\n"},
        {{"--no-difference", "--grams", "2.5g", recipe}, 0, "", "ID: S1\nBaTiO3  (2.5 grams)\n=="},
        {{"--grams", "1e308", big}, 4, overflow + "\n"},
        {{"--json", "--grams", "1e308", big}, 4, "", R"({"file":")" + big + R"(","status":")" + overflow + R"(","rows":[]})"},
        {{"--grams", "abc", recipe}, 4, "Specify correct weight of the final product in gram.\n"},
        {{"--grams=1e-9", recipe}, 4, "Specify non-zero weight of the final product.\n"},
        // The recipe's own grams go through the same check.
        {{dir.write("zero.qvs", "0 0 1 BaTiO3\n1 1 1 BaO\n")}, 4, "non-zero weight"},
        {{dir.write("u.qvs", "0 1 1 BaTiO3\n1 0 1 TiO2\n")}, 3, ""},
        {{broken}, 1, "Failed to load a file.\n"},
        {{"--atoms", file("none.lst"), recipe}, 2, "ATOMS.LST"},
        // Every recipe gets its turn; the first one without a report sets the status.
        {{broken, recipe}, 1, broken + ": Failed to load a file.\n", example},
        {{}, 64, "given\n\nusage:"},
        {{"--writer"}, 64, "--writer needs a file"},
        {{"--frob", recipe}, 64, "unknown option \"--frob\""},
        {{"--json", "--writer", "x.odt", recipe}, 64, "--json and --writer exclude each other"},
        {{"--writer=x.odt"}, 64, "no recipe file given"},
        // Wrong corrections.
        {{"--purity", "TiO2=0", recipe}, 64, "not \"0\""},
        {{"--purity", "TiO2=100.5", recipe}, 64, "not \"100.5\""},
        {{"--excess", "TiO2=-1", recipe}, 64, "from 0 to 100, not \"-1\""},
        {{"--excess", "Qq=5", recipe}, 64, "Qq: not a formula"},
        {{"--excess", "BaO=5", recipe}, 64, "BaO: no source row"},
        {{"--library", file("none.sqlite"), recipe}, 1, "none.sqlite: cannot open the lab database"},
    });
    // clang-format on
    const auto run = test::runCli({"solve", "--atoms", atoms, recipe, "--output=" + recipe});
    EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, answer + "\n"));
    EXPECT_EQ(test::readFileBytes(recipe),
              "-2 1100\r\n-1 S1\r\n0 10.00000 1.00000 BaTiO3\r\n1 0 1.00000 BaCO3\r\n2 0 1.00000 TiO2\r\n");
    EXPECT_EQ(test::runCli({"solve", "--atoms", atoms, file("x.qvs"), "-o", file("o.qvs")}).exitCode, 1);
    EXPECT_EQ(test::runCli({"solve", "--atoms", atoms, recipe, "-o", dir.path().string()}).exitCode, 4);
}

}  // namespace qv
