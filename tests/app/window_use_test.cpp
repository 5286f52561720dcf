// The window under real use: resized, walked with Tab, driven by its menu
// shortcuts from any field, with an office that is slow, missing or GUI-less,
// and heard through the accessibility events a screen reader gets.

#include <condition_variable>
#include <mutex>
#ifdef QV_PLATFORM_ACCESSIBILITY
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

#include "app/info_boxes.h"
#include "app/office_output.h"
#include "controls/focus_frame_view.h"
#include "controls/source_list.h"
#include "form/ratio_solver.h"
#include "support/recording_word.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;
using qv::test::onModal;

namespace {

// An office that stays in connect() until it is cancelled.
struct HeldWord : test::RecordingWord {
    std::mutex mutex;
    std::condition_variable wake;
    bool cancelled = false;
    int cancels = 0;
    std::unique_ptr<WordApplication> connect() override {
        std::unique_lock lock(mutex);
        wake.wait(lock, [this] { return cancelled; });
        cancelled = false;
        return nullptr;
    }
    void cancel() override {
        std::lock_guard lock(mutex);
        cancelled = true;
        ++cancels;
        wake.notify_all();
    }
};

}  // namespace

class WindowUseTest : public test::WindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { setUpWindowTests(); }
    void cleanup() { tearDownWindow(); }

    void sizeTabOrderAndShortcutsOnOneForm() {
        QVERIFY(start());
        fillBariumTitanate();
        qv::SourceList* list = w_->sourceList();
        const QLabel* ratioHeader = nullptr;
        for (const QLabel* label : list->parentWidget()->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Ratio")) ratioHeader = label;
        QVERIFY(ratioHeader);
        const QSize sizes[] = {QSize(1500, 1000), QSize(300, 200)};  // the second is held at the minimum
        for (int i = 0; i < 2; ++i) {
            w_->resize(sizes[i]);
            QCoreApplication::processEvents();
            QVERIFY(w_->width() >= w_->minimumSizeHint().width() &&
                    w_->height() >= w_->minimumSizeHint().height());
            // Four columns across the whole client width, the header over them.
            const int right =
                list->columnX(qv::SourceList::RatioColumn) + list->columnWidth(qv::SourceList::RatioColumn);
            QCOMPARE(right, list->viewport()->geometry().right() + 1);
            QCOMPARE(ratioHeader->x(), list->x() + list->columnX(qv::SourceList::RatioColumn));
            QVERIFY(list->columnWidth(qv::SourceList::MaterialColumn) >
                    list->columnWidth(qv::SourceList::RatioColumn));
            QCOMPARE(list->viewport()->height() % list->rowHeight(), 0);
            // Everything on the form keeps at least its own minimum.
            for (QWidget* c : w_->centralWidget()->findChildren<QWidget*>()) {
                if (!c->isVisible() || c->parentWidget() == list->viewport()) continue;
                const QRect inWindow(c->mapTo(w_->centralWidget(), QPoint()), c->size());
                QVERIFY2(w_->centralWidget()->rect().contains(inWindow),
                         qPrintable(c->objectName() + c->accessibleName()));
                const QSize least = c->minimumSizeHint().boundedTo(c->maximumSize());
                QVERIFY2(c->width() >= least.width() && c->height() >= least.height(),
                         qPrintable(c->accessibleName()));
            }
            test::saveScreenshot(
                *w_, i == 0 ? QStringLiteral("window-1500x1000") : QStringLiteral("window-minimum"));
            // Clicks land at the columns' new places.
            clickCell(0, qv::SourceList::FixColumn);
            QCOMPARE(w_->model().source(0).fixed(), i == 0);
            clickCell(1, qv::SourceList::RatioColumn);
            QCOMPARE(list->ratioEditor()->geometry(), list->cellRect(1, qv::SourceList::RatioColumn));
            QVERIFY(list->ratioEditor()->hasFocus());
        }
        const ControlId order[] = {
            SampleTag,   Mass,          FinalCompound, FinalRatio,       Difference,       SourceList,
            ExcludeList, MoveToInclude, MoveToExclude, MoveAllToInclude, MoveAllToExclude, IncludeList,
            Explain,     Status,        OutputButton,  WeighButton,      ClearAll,         SampleTag};
        const auto focused = [this] {
            QWidget* f = QApplication::focusWidget();
            return f && w_->sourceList()->isAncestorOf(f) ? control(SourceList) : f;
        };
        for (bool backward : {false, true}) {
            control(SampleTag)->setFocus();
            for (int i = 1; i < int(std::size(order)); ++i) {
                const ControlId want = order[backward ? std::size(order) - 1 - i : i];
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                                backward ? Qt::ShiftModifier : Qt::NoModifier);
                for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
                QVERIFY2(focused() == control(want),
                         qPrintable(QStringLiteral("step %1 %2").arg(i).arg(backward)));
                // The dotted frame stands around an element list while it has the focus.
                for (ControlId view : {ExcludeList, IncludeList}) {
                    const auto* frames = control(view)->findChild<qv::FocusFrameView*>();
                    QCOMPARE(frames->frame() && frames->frame()->isVisible(), want == view);
                    if (want != view) continue;
                    w_->resize(w_->size() + QSize(30, 20));  // the frame follows the view
                    QCoreApplication::processEvents();
                    QCOMPARE(frames->frame()->geometry(), qv::FocusFrameView::frameRect(control(view)));
                    // Dotted on all four sides, on the frame's outermost pixels.
                    const QImage shot = frames->frame()->grab().toImage();
                    const int w = shot.width(), h = shot.height(), d = qRound(shot.devicePixelRatio());
                    for (const QRect& edge : {QRect(0, 0, w, d), QRect(0, h - d, w, d), QRect(0, 0, d, h),
                                              QRect(w - d, 0, d, h)}) {
                        int ink = 0;
                        for (int y = edge.top(); y <= edge.bottom(); ++y)
                            for (int x = edge.left(); x <= edge.right(); ++x)
                                ink += shot.pixelColor(x, y).alpha() > 128 &&
                                       shot.pixelColor(x, y).lightness() < 128;
                        QVERIFY2(ink * 4 > std::max(edge.width(), edge.height()),
                                 qPrintable(QString::number(ink)));
                    }
                    test::saveScreenshot(*w_, QStringLiteral("focus-frame"));
                }
            }
        }
        // Menu shortcuts reach the window from the formula edits.
        QStringList seen;
        onModal<QFileDialog>([&seen](QFileDialog* dialog) {
            seen << dialog->windowTitle();
            dialog->reject();
        });
        QTest::keyClick(control(FinalCompound), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(seen.size(), 1);
        // The edits keep their own Ctrl keys: copy, then New from a row.
        QApplication::setActiveWindow(w_.get());
        clickCell(1, qv::SourceList::MaterialColumn);
        QWidget* row = w_->sourceList()->formulaEditor();
        QTest::keyClick(row, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(row, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("TiO2"));
        // A click into another row opens it with the caret at the end.
        clickCell(0, qv::SourceList::MaterialColumn);
        clickCell(1, qv::SourceList::MaterialColumn);
        test::typeKeys(row, QStringLiteral("K"));
        QCOMPARE(w_->model().source(1).text() + w_->model().source(0).text(), "TiO2KBaCO3");
        QTest::keyClick(row, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(texts({SampleTag, FinalCompound}), "|");
        // The program's icon on the window and its boxes.
        AboutDialog about(w_.get());
        ExplanationBox explanation(w_.get());
        QVERIFY(!w_->windowIcon().isNull() && !about.windowIcon().isNull() &&
                !explanation.windowIcon().isNull());
        QCOMPARE(about.findChild<QLabel*>()->pixmap().toImage(),
                 QApplication::windowIcon().pixmap(48, 48).toImage());
    }

    void screenReadersHearTheAnswer() {
        QVERIFY(start());
        static QList<QPair<int, QString>> heard;  // event type, what it names
        heard.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QString what;
            if (event->type() == QAccessible::TextUpdated)
                what = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
            else if (QAccessibleInterface* target = event->accessibleInterface())
                what = target->text(QAccessible::Name);
            if (event->type() == QAccessible::TableModelChanged) {
                const auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
                what += QStringLiteral(" %1-%2").arg(change->firstRow()).arg(change->lastRow());
            }
            heard.append({int(event->type()), what});
        });
#ifdef QV_PLATFORM_ACCESSIBILITY
        QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
#else
        struct {
            void setActive(bool) {}
        }* platform = nullptr;
#endif
        if (platform == nullptr) QSKIP("no way to switch accessibility on here");
        platform->setActive(true);
        fillBariumTitanate();
        clickCell(1, qv::SourceList::FixColumn);
        QAccessible::installUpdateHandler(nullptr);
        platform->setActive(false);
        const QPair<int, QString> expected[] = {
            {int(QAccessible::TextUpdated), QLatin1String(status::kSolved.data())},  // the status box
            {int(QAccessible::NameChanged), QStringLiteral("TiO2")},                 // a formula
            {int(QAccessible::NameChanged), QStringLiteral("1")},                    // a solved ratio
            {int(QAccessible::TableModelChanged), QStringLiteral("Source Material List 0-1")},  // both ratios
            {int(QAccessible::StateChanged), QStringLiteral("fixed")}};                         // a peg
        for (const auto& e : expected) QVERIFY2(heard.contains(e), qPrintable(e.second));
    }

    void wordOnlyWhereTheOfficeCanBeSeen() {
        const std::tuple<const char*, bool, const char*> rows[] = {
            {"", true, "no display"}, {":7", false, "cannot show a window"}, {":7", true, ""}};
        for (const auto& [display, windows, why] : rows) {
            qputenv("DISPLAY", display);
            cleanup();  // each start reads the stored default afresh
            auto office = std::make_unique<test::RecordingWord>();
            office->windows = windows;
            QVERIFY(start(true, {}, std::move(office)));
            QAction* word = w_->action("word");
            QCOMPARE(word->isEnabled(), !*why);
            QCOMPARE(word->isChecked(), !*why);
            QVERIFY(word->toolTip().contains(QLatin1String(*why ? why : "LibreOffice Writer")));
        }
        qputenv("DISPLAY", ":7");
    }

    void outputToWordTypesIntoOneDocumentOrFallsBack() {
        auto office = std::make_unique<test::RecordingWord>();
        test::RecordingWord& fake = *office;
        QVERIFY(start(true, {}, std::move(office)));
        QAction* word = w_->action("word");
        if (auto* menu = qobject_cast<QMenu*>(word->parent())) {
            menu->popup(w_->mapToGlobal(QPoint(40, 40)));
            test::saveScreenshot(*menu, QStringLiteral("output-to-menu"));
            menu->hide();
        }
        fillBariumTitanate();
        QTest::mouseClick(control(OutputButton), Qt::LeftButton);
        QTest::mouseClick(control(OutputButton), Qt::LeftButton);
        QCOMPARE(fake.documents.size(), std::size_t(1));
        const std::string report = "ID: S1\nBaTiO_{3}  (10 grams)    + CO_{2}\n";
        QCOMPARE(fake.documents[0].text.find(report), std::size_t(0));
        QVERIFY(fake.documents[0].text.find(report, 1) != std::string::npos);
        QVERIFY(fake.visible);

        // A call failing part-way, then no office at all: each time a message,
        // then the text report; only the second turns the menu to Default.
        fake.failAtCall = static_cast<int>(fake.log.size()) + 12;
        answerMessage();
        QVERIFY(output().first.startsWith(QStringLiteral("ID: S1\nBaTiO3  (10 grams)  + CO2\n")));
        QVERIFY(word->isChecked());
        fake.reachable = false;
        answerMessage();
        QVERIFY(output().first.startsWith(QStringLiteral("ID: S1\n")));
        QCOMPARE(messages_, QStringList({QStringLiteral("Output to MS Word failed!"),
                                         QLatin1String(kOfficeNotReached)}));
        QVERIFY(!word->isChecked() && w_->action("default")->isChecked());
        shortcut(Qt::Key_Q);  // kept at Exit, and read back though an office is there
        QVERIFY(start(true, {}, std::make_unique<test::RecordingWord>()));
        QVERIFY(!w_->action("word")->isChecked());
    }

    void slowOfficeKeepsTheWindowAliveAndCancels() {
        auto office = std::make_unique<HeldWord>();
        HeldWord& fake = *office;
        QVERIFY(start(true, {}, std::move(office)));
        fillBariumTitanate();
        bool busyShown = false;
        onModal<OfficeBusyDialog>([&](OfficeBusyDialog* busy) {
            // The office holds its thread; the window's goes on: this runs in it.
            busyShown = busy->isVisible() && QApplication::overrideCursor() != nullptr;
            test::saveScreenshot(*busy, QStringLiteral("office-busy"));
            QTest::mouseClick(busy->cancelButton(), Qt::LeftButton);
        });
        // Cancelled: the text report, no message, Word still chosen.
        QVERIFY(output().first.startsWith(QStringLiteral("ID: S1\n")));
        QVERIFY(busyShown && fake.cancels == 1 && messages_.isEmpty());
        QVERIFY(w_->action("word")->isChecked() && fake.documents.empty());
    }
};

QTEST_MAIN(WindowUseTest)
#include "window_use_test.moc"
