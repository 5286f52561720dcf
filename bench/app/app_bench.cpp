// The desktop program's two speed aims: from process start to the main
// window's first paint, and from a key in a source row of a full form to the
// end of the repaint it causes.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "form/model.h"

#include "app/main_window.h"

namespace {

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void BM_StartToFirstPaint(benchmark::State& state) {
    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/quorvex_first_paint");
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(env);
        const long long start = monotonicNs();
        child.start(probe, {});
        if (!child.waitForFinished(10000)) {
            state.SkipWithError("the program did not paint");
            return;
        }
        const long long painted = child.readAllStandardOutput().trimmed().toLongLong();
        state.SetIterationTime(double(painted - start) / 1e9);
    }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void typeKeys(QWidget* widget, const char* text) {
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (c >= 'A' && c <= 'Z')
            QTest::keyClick(widget, Qt::Key(c), Qt::ShiftModifier);
        else if (c >= 'a' && c <= 'z')
            QTest::keyClick(widget, Qt::Key(Qt::Key_A + c - 'a'));
        else
            QTest::keyClick(widget, Qt::Key(c));
    }
}

// With `corrected`, every row also has a purity and an excess, shown in the
// Corrections panel beside the list, which follows each key too.
void keyInFullForm(benchmark::State& state, bool corrected) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", config.path().toLocal8Bit());
    qv::app::MainWindow window(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    if (!window.initialise()) {
        state.SkipWithError("no ATOMS.LST beside the benchmark");
        return;
    }
    window.show();
    QCoreApplication::processEvents();
    qv::SourceList* list = window.sourceList();
    auto clickRow = [&](int row) {
        const QRect cell = list->cellRect(row - list->firstVisibleRow(), qv::SourceList::MaterialColumn);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    };
    typeKeys(window.control(qv::ControlId::FinalCompound), "Ba15Ti15O45");
    const char* formulas[3] = {"BaCO3", "TiO2", "BaTiO3"};
    for (int row = 0; row < qv::kSourceRows; ++row) {
        clickRow(row);
        typeKeys(list->formulaEditor(), formulas[row % 3]);
    }
    if (corrected)
        for (int row = 0; row < qv::kSourceRows; ++row) window.model().setCorrection(row, {99.5, 5.0});
    clickRow(15);
    QWidget* editor = list->formulaEditor();
    QCoreApplication::processEvents();
    bool add = true;
    for (auto _ : state) {
        // A digit and its Backspace in turn, so the form stays full.
        QTest::keyClick(editor, add ? Qt::Key_2 : Qt::Key_Backspace);
        QCoreApplication::processEvents();  // the update request: the repaint
        add = !add;
    }
}
void BM_KeyInFullFormToRepaint(benchmark::State& state) { keyInFullForm(state, false); }
void BM_KeyInFullFormWithCorrectionsToRepaint(benchmark::State& state) { keyInFullForm(state, true); }
BENCHMARK(BM_KeyInFullFormToRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyInFullFormWithCorrectionsToRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
