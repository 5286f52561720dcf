// The Corrections panel: on a form of its own, typed into as a user would,
// and in the real window beside the source list, saved with the recipe and
// opened again.

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "app/corrections_panel.h"
#include "app/main_window.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"
#include "widget_support.h"

using namespace qv;
using namespace qv::app;

class CorrectionsPanelTest : public QObject {
    Q_OBJECT

    // What the cell's editor hands the table when the user presses Return.
    static void editCell(QTableWidget* table, int line, int column, const char* text) {
        table->item(line, column)->setText(QString::fromLatin1(text));
    }

private slots:
    void editsAndBottlesReachTheModel() {
        test::TestForm f{test::kBaTiCOElementFile};
        QVERIFY(f.enterBariumTitanate());
        CorrectionsPanel panel(f.model);
        panel.setBottles({{3, "BaCO3", "witherite", "Acme", "B-1", 99.5, 0},
                          {4, "CO3Ba", "", "Other", "B-2", 98, 1},
                          {5, "TiO2", "", "", "T-9", 99, 0}});
        panel.show();
        QTableWidget* t = panel.table();
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(t->item(0, CorrectionsPanel::FormulaColumn)->text(), QStringLiteral("BaCO3"));

        editCell(t, 1, CorrectionsPanel::PurityColumn, "99.5");
        editCell(t, 1, CorrectionsPanel::ExcessColumn, "5");
        QCOMPARE(f.model.corrections().at(1).purityPct, 99.5);
        QCOMPARE(f.model.corrections().at(1).excessPct, 5.0);
        // Refused values are named and change nothing.
        for (const char* bad : {"0", "100.1", "1,5", ""}) {
            editCell(t, 1, CorrectionsPanel::PurityColumn, bad);
            QCOMPARE(f.model.corrections().at(1).purityPct, 99.5);
            QVERIFY2(panel.message().contains(QStringLiteral("row 2")) || panel.message().contains("Row 2"),
                     qPrintable(panel.message()));
            QCOMPARE(t->item(1, CorrectionsPanel::PurityColumn)->text(), QStringLiteral("99.5"));
        }

        // Two bottles hold barium carbonate however written: a choice.
        auto* combo = qobject_cast<QComboBox*>(t->cellWidget(0, CorrectionsPanel::BottleColumn));
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        const Correction c = f.model.corrections().at(0);
        QCOMPARE(c.purityPct, 98.0);
        QCOMPARE(c.excessPct, 1.0);
        QCOMPARE(c.bottleId, std::optional<std::int64_t>(4));
        QCOMPARE(c.lot, std::string("B-2"));
        QCOMPARE(t->item(0, CorrectionsPanel::PurityColumn)->text(), QStringLiteral("98"));

        // A row typed away leaves the table; the others keep their values.
        f.retype(f.row(0), "");
        QCOMPARE(t->rowCount(), 1);
        QCOMPARE(t->item(0, CorrectionsPanel::PurityColumn)->text(), QStringLiteral("99.5"));
        panel.resize(460, 200);
        test::saveScreenshot(panel, QStringLiteral("corrections_panel"));
    }

    // In the window: the panel beside the list at the window's smallest, a
    // bottle from the library offered, the corrections saved beside the recipe
    // and read back on Open, an old Windows-1252 recipe saved back unchanged.
    void inTheWindowWithTheRecipe() {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        const std::string folder = dir.path().toStdString() + "/";
        std::ofstream(folder + "ATOMS.LST") << test::kBaTiCOElementFile;
        {
            store::LabDatabase db;
            QCOMPARE(db.open(store::LabDatabase::defaultPath(), true), store::OpenStatus::Ok);
            QVERIFY(db.addBottle({0, "TiO2", "rutile", "Acme", "T-7", 99.8, 0}));
        }
        const std::string old =
            "-2 1100\r\n-1 Probe f\xfcr BaTi\r\n0 10.00000 1.00000 BaTiO3\r\n"
            "1 0 1.00000 BaCO3\r\n2 0 1.00000 TiO2\r\n";
        std::ofstream(folder + "BT.QVS", std::ios::binary) << old;

        MainWindow w(dir.path() + QLatin1Char('/'));
        QVERIFY(w.initialise());
        w.show();
        QTRY_VERIFY(w.initialised());
        QVERIFY(w.openRecipeFile(dir.filePath("BT.QVS")));
        QCOMPARE(w.model().sampleTag(), std::string("Probe f\xc3\xbcr BaTi"));
        CorrectionsPanel* panel = w.correctionsPanel();
        QTRY_COMPARE(panel->bottlesFor(1).size(), std::size_t(1));
        panel->chooseBottle(1, panel->bottlesFor(1).front()->id);
        w.model().setCorrection(0, {99, 5});
        // The keyboard alone reaches the panel (Alt+R) and comes back to the list (Alt+M).
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(panel->table()->hasFocus());
        QTest::keyClick(panel->table(), Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(w.sourceList()->isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == w.sourceList());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(panel->table()->hasFocus());
        w.resize(1200, 700);
        test::saveScreenshot(w, QStringLiteral("window_with_corrections"));
        w.resize(w.minimumSizeHint());
        test::saveScreenshot(w, QStringLiteral("window_with_corrections_smallest"));
        QVERIFY(panel->table()->isVisible());

        // Saved as a new file (the dialog answered), then opened again.
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                d->selectFile(dir.filePath("BT2.QVS"));
                QMetaObject::invokeMethod(d, "accept");
            }
        });
        timer.start(0);
        QVERIFY(w.saveRecipe());
        std::ifstream in(folder + "BT2.QVS", std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), old);
        w.newForm();
        QVERIFY(w.model().corrections().empty());
        QVERIFY(w.openRecipeFile(dir.filePath("BT2.QVS")));
        QCOMPARE(w.model().corrections().size(), std::size_t(2));
        QCOMPARE(w.model().corrections().at(1).lot, std::string("T-7"));
        QCOMPARE(panel->table()->item(0, CorrectionsPanel::ExcessColumn)->text(), QStringLiteral("5"));

        // A companion naming a row that changed: left out, and the status says which.
        std::ofstream(folder + "BT2.QVS.json") << R"({"format": "quorvex-corrections", "version": 1,
            "rows": [{"row": 2, "formula": "BaO", "purity_pct": 90}]})";
        QVERIFY(w.openRecipeFile(dir.filePath("BT2.QVS")));
        QVERIFY(w.model().corrections().empty());
        QVERIFY2(QString::fromStdString(w.model().status()).contains("row 2 "), w.model().status().c_str());
    }
};

QTEST_MAIN(CorrectionsPanelTest)
#include "corrections_panel_test.moc"
