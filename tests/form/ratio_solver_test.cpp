#include "form/ratio_solver.h"
#include "form_steps.h"

namespace qv {

using test::fill;
using test::TestForm;

// Notices as "Row1 Lists Difference" (the row where one applies).
static std::string names(const std::vector<FormNotice>& notices) {
    static const char* const name[] = {"Final", "FinalRatio",  "Row",     "Ratio",  "Peg",
                                       "Lists", "Difference",  "Outcome", "Status", "SampleTag",
                                       "Grams", "Corrections", "Message", "Failure"};
    std::string out;
    for (const FormNotice& n : notices)
        out += (out.empty() ? "" : " ") + (name[int(n.what)] + (n.row >= 0 ? std::to_string(n.row) : ""));
    return out;
}

// The small table's metals Ca Ti Ba Fe start included, H C O excluded.
TEST(RatioSolver, OutcomesAndTheNoticesObserversHearInOrder) {
    using enum SolverOutcome::Kind;
    using namespace status;
    struct Case {
        const char *final, *rows;
        const char* then;  // see fill()
        SolverOutcome::Kind kind;
        std::string_view status;
        const char* remainder;  // nullptr: none computed
        const char* ratios;     // each free row's ratio text, "_" for an empty one
    };
    const Case cases[] = {
        {"BaTiO3", "BaCO3 TiO2", "", Solved, kSolved, "O3TiBa", "1 1"},
        {"BaTiO3", "BaCO3 TiO2", "+O", NoSolution, "", "O3TiBa", "_ _"},       // no exact answer: cleared
        {"BaTiO3", "BaO TiO2 BaTiO3", "", NoSolution, "", "O3TiBa", "_ _ _"},  // more unknowns than equations
        {"BaTiO3", "BaCO3 TiO2 CO2", "", NoSolution, "", "O3TiBa", "_ _ _"},   // CO2: nothing included
        {"BaTiO3", "BaCO3 TiO2 CaO", "", Solved, kSolved, "O3TiBa", "1 1 0"},  // an extra metal gets zero
        {"BaTi0.0000003", "Ba Ti", "", Solved, kSolved, "Ba", "1 0"},          // small solutions show as zero
        {"Ba", "BaTi Ti", "", Solved, kSolved, "Ba", "1 -1"},
        {"BaTiO3", "TiO2", "r0:1", Manual, kManualMode, "OBa", ""},  // fixed taken off; Ti at zero vanishes
        {"BaTiO3", "TiO2", "r0:3", Manual, kManualMode, "O-3Ti-2Ba", ""},  // manual mode does not check
        {"BaO", "", "", NoEntries, "", "OBa", ""},
        {"CO2", "CO", "", IncludeEmpty, kIncludeEmpty, "CO2", ""},
        {"", "Q", "", BadInput, kBadFinal, nullptr, ""},  // a bad final before a bad row
        {"BaO", "Q", "", BadInput, kBadEntry, nullptr, ""},
        {"BaO", "Q", "f:0", BadInput, kZeroFinalRatio, nullptr, ""},  // a zero final ratio before a bad row
        {"BaTiO3", "BaCO3 TiO2", "f:2.5", Solved, kSolved, "O7.5Ti2.5Ba2.5", "2.5 2.5"},
        {"BaTiO3", "BaCO3 TiO2", "f:", BadInput, kZeroFinalRatio, nullptr, ""},  // an empty ratio is zero
        {"BaTiO3", "BaCO3 TiO2", "f:2-", BadInput, kBadFinal, nullptr, ""},
        {"BaO", "", "f:4e-7", BadInput, kZeroFinalRatio, nullptr, ""},  // under the tolerance
        // Ba: 0.1 x0 = 0.1; Ti: x1 = 1; O: x0 + 2 x1 = 3 + d. The search takes rows (Ba,Ti), (Ba,O),
        // (Ti,O) in that order and keeps the first whose answer meets every equation within 5e-7.
        {"Ba0.1TiO3.0000004", "Ba0.1O TiO2", "+O", Solved, kSolved, "O3TiBa0.1", "1 1"},
        {"Ba0.1TiO3.000003", "Ba0.1O TiO2", "+O", Solved, kSolved, "O3.000003TiBa0.1", "1.000003 1"},
        {"Ba0.1TiO3.00001", "Ba0.1O TiO2", "+O", NoSolution, "", "O3.00001TiBa0.1", "_ _"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.final) + " from " + c.rows + " " + c.then);
        TestForm t;
        fill(t, c.final, c.rows, c.then);
        const SolverOutcome out = RatioSolver(t.model).compute();
        EXPECT_EQ(std::tuple(out.kind, std::string(out.status)), std::tuple(c.kind, std::string(c.status)));
        const int frees = static_cast<int>(t.model.freeEntries().size());  // the model keeps the counts too
        EXPECT_EQ(std::tuple(out.includeCount, out.freeCount, t.model.includeCount(), t.model.freeCount()),
                  std::tuple(t.include.itemCount(), frees, t.include.itemCount(), frees));
        EXPECT_EQ(out.remainder ? out.remainderText : "none", c.remainder ? c.remainder : "none");
        std::string ratios;
        for (const FreeRatio& r : out.ratios)
            ratios += (ratios.empty() ? "" : " ") + (r.text.empty() ? "_" : r.text);
        EXPECT_EQ(ratios, c.ratios);
        EXPECT_EQ(out.outputEnabled, c.kind == Solved || c.kind == Manual);
        // The form shows what was computed.
        EXPECT_EQ(std::tuple(t.status(), t.model.difference().text(), t.outputEnabled()),
                  std::tuple(std::string(out.status), out.remainderText, out.outputEnabled));
        for (const FreeRatio& r : out.ratios)
            EXPECT_EQ(std::tuple(t.row(r.row).ratioText(), t.row(r.row).ratio(), t.row(r.row).classify()),
                      std::tuple(r.text, r.ratio, Free));
    }
    // Any view can follow the form: it hears what changed, in the order the window shows it: counts first,
    // then the difference, the answer, the ratios (before the answer when they are cleared), Output.
    struct Recorder : FormObserver {
        void formChanged(FormChange what, int row) override { heard.push_back({what, row}); }
        std::vector<FormNotice> heard;
    } recorder;
    const std::string solved = "Lists Difference Status Ratio Outcome";
    TestForm t;
    t.model.addObserver(&recorder);
    fill(t, "BaTiO3", "BaCO3 TiO");
    recorder.heard.clear();
    t.type(t.row(1), "2");  // the key that solves it
    EXPECT_EQ(names(recorder.heard), "Row1 " + solved);
    recorder.heard.clear();
    t.model.setSampleTag("S1");
    t.model.setGramsText("2.5");
    t.clickPeg(0);
    EXPECT_EQ(names(recorder.heard), "SampleTag Grams Outcome Peg0 " + solved);
    t.clearLog();
    EXPECT_TRUE(t.model.runSolver());
    EXPECT_EQ(names(t.log()), solved);
    t.setText(t.row(1), "CO2");
    t.clearLog();
    EXPECT_FALSE(t.model.runSolver());
    EXPECT_EQ(names(t.log()), "Lists Difference Ratio Status Outcome");
    EXPECT_EQ(t.status(), "");
    // Removed, it hears no more; the headless form still does.
    t.model.removeObserver(&recorder);
    recorder.heard.clear();
    t.clearLog();
    t.model.clearAll();
    EXPECT_TRUE(recorder.heard.empty());
    EXPECT_FALSE(t.log().empty());
    TestForm u;  // the status says how a decimal count before water was read
    fill(u, "Ca(OH)2", "CaO2.5H2O");
    EXPECT_EQ(u.status(), std::string(status::kSolved) +
                              "\nCaO2.5H2O is read as CaO2.5 + H2O: \"2.5\" is one decimal count. For the "
                              "hydrate write CaO2\xC2\xB7"
                              "5H2O (or CaO2*5H2O).");
    for (const char* text : {"CaO2*5H2O", "Ca0.5O"}) {
        u.retype(u.row(0), text);
        EXPECT_EQ(u.status(), status::kSolved) << text;
    }
}

}  // namespace qv
