// The Corrections panel: on a form of its own, typed into as a user would,
// and in the real window beside the source list, saved with the recipe and
// opened again.

#include "app/corrections_panel.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;

class CorrectionsPanelTest : public test::WindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { setUpWindowTests(); }

    void editsAndBottlesReachTheModel() {
        test::TestForm f{test::kBaTiCOElementFile};
        QVERIFY(f.enterBariumTitanate());
        CorrectionsPanel panel(f.model);
        panel.setBottles({{3, "BaCO3", "witherite", "Acme", "B-1", 99.5, 0},
                          {4, "CO3Ba", "", "Other", "B-2", 98, 1},
                          {5, "TiO2", "", "", "T-9", 99, 0}});
        panel.show();
        QTableWidget* t = panel.table();
        // What the cell's editor hands the table when the user presses Return.
        const auto edit = [t](int column, const char* text) { t->item(1, column)->setText(text); };
        const auto shown = [t](int line, int column) { return t->item(line, column)->text(); };
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(shown(0, CorrectionsPanel::FormulaColumn) + ' ' + t->accessibleName(), "BaCO3 Corrections");

        edit(CorrectionsPanel::PurityColumn, "99.5");
        edit(CorrectionsPanel::ExcessColumn, "5");
        QCOMPARE(f.model.corrections().at(1).excessPct, 5.0);
        for (const char* bad : {"0", "100.1", "1,5", ""}) {  // refused values are named and change nothing
            edit(CorrectionsPanel::PurityColumn, bad);
            QCOMPARE(f.model.corrections().at(1).purityPct, 99.5);
            QVERIFY2(panel.message().contains("row 2", Qt::CaseInsensitive), qPrintable(panel.message()));
            QCOMPARE(shown(1, CorrectionsPanel::PurityColumn), "99.5");
        }
        QLabel* said = panel.findChild<QLabel*>();  // the panel's first label: the message under the table
        QVERIFY(said->isVisible());
        panel.setNote({});
        QVERIFY(!said->isVisible());

        // Two bottles hold barium carbonate however written: a choice.
        auto* combo = qobject_cast<QComboBox*>(t->cellWidget(0, CorrectionsPanel::BottleColumn));
        QCOMPARE(combo->count(), 3);
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        const Correction c = f.model.corrections().at(0);
        QCOMPARE(QString("%1 %2 %3 ").arg(c.purityPct).arg(c.excessPct).arg(c.bottleId.value_or(0)) +
                     c.lot.c_str(),
                 "98 1 4 B-2");
        QCOMPARE(shown(0, CorrectionsPanel::PurityColumn), "98");

        // A row typed away leaves the table; the others keep their values.
        f.retype(f.row(0), "");
        QCOMPARE(t->rowCount(), 1);
        QCOMPARE(shown(0, CorrectionsPanel::PurityColumn), "99.5");
        panel.resize(460, 200);
        test::saveScreenshot(panel, "corrections_panel");
    }

    // In the window: the panel beside the list at the window's smallest, a
    // bottle from the library offered, the corrections saved beside the recipe
    // and read back on Open, an old Windows-1252 recipe saved back unchanged.
    void inTheWindowWithTheRecipe() {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        {
            store::LabDatabase db;
            QCOMPARE(db.open(store::LabDatabase::defaultPath(), true), store::OpenStatus::Ok);
            QVERIFY(db.addBottle({0, "TiO2", "rutile", "Acme", "T-7", 99.8, 0}));
        }
        const char* old =
            "-2 00011\r\n-1 Probe f\xfcr BaTi\r\n0 10.00000 1.00000 BaTiO3\r\n"
            "1 0 1.00000 BaCO3\r\n2 0 1.00000 TiO2\r\n";
        writeFile(dir.filePath("BT.QVS"), old);
        QVERIFY(start(true, dir.filePath("BT.QVS")));
        CorrectionsPanel* panel = w_->correctionsPanel();
        QTRY_COMPARE(panel->bottlesFor(1).size(), 1u);
        panel->chooseBottle(1, panel->bottlesFor(1).front()->id);
        w_->model().setCorrection(0, {99, 5, {}, {}});
        // The keyboard alone reaches the panel (Alt+R) and comes back to the list (Alt+M).
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(panel->table()->hasFocus());
        w_->resize(w_->minimumSizeHint());
        test::saveScreenshot(*w_, "window_with_corrections_smallest");
        QVERIFY(panel->table()->isVisible());
        QTest::keyClick(panel->table(), Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(w_->sourceList()->isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == w_->sourceList());

        // Saved as a new file (the dialog answered), then opened again.
        test::chooseFile(dir.filePath("BT2.QVS"));
        QVERIFY(w_->saveRecipe());
        QCOMPARE(test::readFileBytes(dir.filePath("BT2.QVS").toStdString()), old);
        w_->newForm();
        QVERIFY(w_->model().corrections().empty());
        QVERIFY(w_->openRecipeFile(dir.filePath("BT2.QVS")));
        QCOMPARE(w_->model().corrections().size(), 2u);
        QCOMPARE(w_->model().corrections().at(1).lot, "T-7");
        QCOMPARE(panel->table()->item(0, CorrectionsPanel::ExcessColumn)->text(), "5");

        // A companion naming a row that changed: left out, and the status says which.
        writeFile(dir.filePath("BT2.QVS.json"), R"({"format": "quorvex-corrections", "version": 1,
            "rows": [{"row": 2, "formula": "BaO", "purity_pct": 90}]})");
        QVERIFY(w_->openRecipeFile(dir.filePath("BT2.QVS")));
        QVERIFY(w_->model().corrections().empty());
        QVERIFY2(QString::fromStdString(w_->model().status()).contains("row 2 "),
                 w_->model().status().c_str());
        tearDownWindow();
    }
};

QTEST_MAIN(CorrectionsPanelTest)
#include "corrections_panel_test.moc"
