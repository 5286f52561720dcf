// The whole window driven with real key and mouse events: resized, walked
// with Tab, with an office that is slow, missing or GUI-less, heard through
// the accessibility events a screen reader gets; then help and the web notice
// against a loopback server started here, and the window's pieces on their own.

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QTcpServer>
#include <semaphore>

#include "app/hidden_message.h"
#include "app/info_boxes.h"
#include "app/office_output.h"
#include "app/series_dialog.h"
#include "app/web_notice.h"
#include "app/web_server.h"
#include "form/ratio_solver.h"
#include "output/text_report.h"
#include "support/recording_word.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;

namespace {

QByteArray response(const QByteArray& body, const QByteArray& title = "Quorvex",
                    const QByteArray& head = "200 OK\r\nContent-Type: text/html; charset=utf-8") {
    const QByteArray html = "<html><head><title>" + title + "</title></head>" + body + "</html>";
    return "HTTP/1.1 " + head + "\r\nContent-Length: " + QByteArray::number(html.size()) +
           "\r\nConnection: close\r\n\r\n" + html;
}

// The server answers each known path with its page and any other not at
// all, like a server that has stopped responding.
const QHash<QByteArray, QByteArray> kPages = {
    {"/right", response("<body><p>Version 1.52 is out.</p></body>")},
    {"/second", response("<body>Second frame</body>")},
    {"/lower", response("<body>lower case</body>", "quorvex")},
    {"/blank", response("<body> <p>&nbsp;</p> <img src=\"x.png\"></body>")},
    {"/missing", response("<body>not found</body>", "Quorvex", "404 Not Found")},
    {"/markup", response("<body><h1>Bold</h1> news &amp; <a href=\"http://example.org/\">a&lt;b&gt; "
                         "link</a><br><script>alert(1)</script><style>p{}</style></body>")},
    {"/latin1",
     response("<body>Caf\xe9</body>", "Quorvex", "200 OK\r\nContent-Type: text/html; charset=iso-8859-1")},
    {"/lantern/quorvex/log/log.php?p=Quorvex&v=1.51", response("<body>pinged</body>")},
};

// An office that stays in connect() until it is cancelled.
struct HeldWord : test::RecordingWord {
    std::counting_semaphore<> released{0};
    std::atomic<int> cancels = 0;
    std::unique_ptr<WordApplication> connect() override {
        released.acquire();
        return nullptr;
    }
    void cancel() override {
        ++cancels;
        released.release();
    }
};

}  // namespace

class MainWindowTest : public test::WindowFixture {
    Q_OBJECT
    QList<QUrl> opened_;
    QTcpServer server_;

    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }
    static QSettings store() { return QSettings(QLatin1String(kAppName), QStringLiteral("quorvex")); }

public slots:
    void capture(const QUrl& url) { opened_ << url; }

private slots:
    void initTestCase() {
        for (const char* scheme : {"file", "http", "https"})
            QDesktopServices::setUrlHandler(scheme, this, "capture");
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    const QByteArray seen = socket->property("seen").toByteArray() + socket->readAll();
                    socket->setProperty("seen", seen);
                    const QByteArray path = seen.split(' ').value(1);
                    if (!seen.contains("\r\n\r\n") || !kPages.contains(path)) return;
                    socket->write(kPages[path]);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        setUpWindowTests();
    }
    void cleanup() { tearDownWindow(); }

    void oneSessionOnTheForm() {
        QVERIFY(start());
        QCOMPARE(w_->windowTitle() + ' ' + applicationTitle(), QStringLiteral("Quorvex Quorvex  v 1.51"));
        QCOMPARE(texts({FinalRatio, Mass, FreeCount, IncludeCount}), "1|1|0|0");
        QVERIFY(!control(OutputButton)->isEnabled() && !w_->action("word")->isEnabled());
        // What a screen reader calls each control.
        const ControlId ids[] = {SampleTag,        Mass,        FinalCompound, FinalRatio,   Difference,
                                 SourceList,       ExcludeList, IncludeList,   OutputButton, ClearAll,
                                 MoveAllToInclude, Status,      IncludeCount,  FreeCount};
        QStringList heard;
        for (ControlId id : ids)
            heard << QAccessible::queryAccessibleInterface(control(id))->text(QAccessible::Name);
        QCOMPARE(heard.join('|'),
                 QString("Sample Tag|Gram|Compound|Ratio|%1|Source Material List|Exclude|Include|"
                         "Output|Clear All|>>|Status|Elements in Include list|"
                         "Free entries in Source Material List")
                     .arg(kDifferenceLabel));
        QCOMPARE(QAccessible::queryAccessibleInterface(control(Explain))->text(QAccessible::Description),
                 "Explain the relation");
        QVERIFY(
            std::ranges::any_of(w_->findChildren<QLabel*>(), [](QLabel* l) { return l->text() == ">="; }));

        // Return and Escape in the tag and gram edits neither submit nor close.
        for (ControlId id : {SampleTag, Mass}) {
            QSignalSpy returned(control(id), SIGNAL(returnPressed()));
            control(id)->setFocus();
            QTest::keyClick(control(id), Qt::Key_Return);
            QTest::keyClick(control(id), Qt::Key_Escape);
            QCOMPARE(returned.count(), 0);
        }
        QVERIFY(w_->isVisible());
        clickCell(0, qv::SourceList::RatioColumn);
        QSignalSpy rowReturn(w_->sourceList()->ratioEditor(), &QLineEdit::returnPressed);
        QTest::keyClick(w_->sourceList()->ratioEditor(), Qt::Key_Return);
        QCOMPARE(rowReturn.count(), 1);

        // Filled: solved, moved between the lists, pegged, cleared.
        fillBariumTitanate();
        QCOMPARE(texts({Status, IncludeCount, FreeCount}), QLatin1String(status::kSolved.data()) + "|2|2");
        QCOMPARE(lists(), "C O|Ba Ti");
        QVERIFY(control(OutputButton)->isEnabled());
        test::saveScreenshot(*w_, QStringLiteral("filled"));

        clickElement(ExcludeList, QStringLiteral("O"));
        QCOMPARE(lists() + ' ' + text(IncludeCount), "C|Ba O Ti 3");
        // Return in a list moves its selection; the buttons move everything.
        list(IncludeList)->setFocus();
        list(IncludeList)->item(1)->setSelected(true);
        QTest::keyClick(list(IncludeList), Qt::Key_Return);
        QCOMPARE(lists(), "C O|Ba Ti");
        QTest::mouseClick(control(MoveAllToExclude), Qt::LeftButton);
        QCOMPARE(lists() + text(Status), "Ba C O Ti|" + QLatin1String(status::kIncludeEmpty.data()));
        QTest::mouseClick(control(MoveAllToInclude), Qt::LeftButton);
        for (const char* symbol : {"C", "O"}) clickElement(IncludeList, QLatin1String(symbol));

        clickCell(1, qv::SourceList::FixColumn);
        QCOMPARE(texts({FreeCount, Difference}), "1|OBa");

        QTest::mouseClick(control(ClearAll), Qt::LeftButton);
        QCOMPARE(texts({FinalCompound, FreeCount, Mass, SampleTag}) + lists(), "|0|1|S1|");
        shortcut(Qt::Key_N);
        QCOMPARE(text(SampleTag), QString());

        const QString message = hiddenMessage();
        // Typed into the final compound's edit, then into a source row; the
        // message is posted (and forwarded by the list), so let it arrive.
        const auto pressAndSettle = [&](QWidget* edit) {
            QTest::keyClick(edit, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
            for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
        };
        test::typeKeys(control(FinalCompound), QStringLiteral("BaTiO3"));
        pressAndSettle(control(FinalCompound));
        QCOMPARE(text(Status), message);
        typeRow(0, "BaCO3");
        QVERIFY(text(Status) != message);
        pressAndSettle(w_->sourceList()->formulaEditor());
        QCOMPARE(text(Status), message);
        QCOMPARE(w_->model().source(0).text(), std::string("BaCO3"));  // the key typed nothing
        typeRow(1, "TiO2");

        // A series from the form's compound; a sample opened in the form.
        QString prefilled;
        test::onModal<SeriesDialog>([&prefilled](SeriesDialog* dialog) {
            auto* templ = dialog->findChild<QLineEdit*>(QStringLiteral("template"));
            prefilled = templ->text();
            templ->selectAll();
            QTest::keyClicks(templ, QStringLiteral("BaTi{1+x}O{3+2*x}"));
            auto* samples = dialog->findChild<QTableWidget*>(QStringLiteral("samples"));
            QTest::mouseClick(samples->viewport(), Qt::LeftButton, {},
                              samples->visualItemRect(samples->item(1, 1)).center());
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("openInForm")), Qt::LeftButton);
        });
        shortcut(Qt::Key_R);
        QCOMPARE(prefilled, QStringLiteral("BaTiO3"));
        QCOMPARE(texts({FinalCompound, FinalRatio, Status}),
                 "BaTi1.1O3.2|1|" + QLatin1String(status::kSolved.data()));
        // "·" typed on a layout that has it.
        QTest::keyClick(control(FinalCompound), Qt::Key_End);
        QTest::keyClick(control(FinalCompound), Qt::Key_periodcentered);
        test::typeKeys(control(FinalCompound), QStringLiteral("5H2O"));
        QCOMPARE(text(FinalCompound), QStringLiteral("BaTi1.1O3.2\u00B75H2O"));
    }

    void savesReopensAndOutputsUnderDecimalComma() {
        const std::string before = std::setlocale(LC_ALL, nullptr);
        QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8"));
        QLocale::setDefault(QLocale(QLocale::German));
        QVERIFY(start());
        fillBariumTitanate();
        qobject_cast<QLineEdit*>(control(FinalRatio))->selectAll();
        QTest::keyClicks(control(FinalRatio), "0.5");
        QVERIFY(output().first.contains(QStringLiteral("BaCO3  (197.34)                      8.462264")));

        const QString path = dir_->path() + QStringLiteral("/bt");
        test::chooseFile(path);
        shortcut(Qt::Key_S);
        QFile saved(path + QStringLiteral(".QVS"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("-2 00011\r\n-1 S1\r\n0 10.00000 0.50000 BaTiO3\r\n"
                                             "1 0 0.50000 BaCO3\r\n2 0 0.50000 TiO2\r\n"));
        QCOMPARE(QDir::currentPath(), dir_->path());

        w_->newForm();
        test::chooseFile(saved.fileName());
        shortcut(Qt::Key_O);
        QCOMPARE(texts({FinalCompound, FinalRatio, Mass, SampleTag}), "BaTiO3|0.5|10|S1");

        // The reopened form's report, the gram checked, the temporary folder.
        const auto expected = weighingReportText(w_->model(), "S1", 10.0, true);
        QVERIFY(expected);
        const auto [shown, file] = output();
        QCOMPARE(file, QByteArray::fromStdString(*expected));
        QCOMPARE(shown.toUtf8(), file);  // byte for byte
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QVERIFY(QDir(dir_->path()).entryList({QStringLiteral("*.qv")}).isEmpty());  // deleted after
        w_->action("difference")->trigger();
        QVERIFY(output().first.startsWith(QStringLiteral("ID: S1\nBaTiO3  (10 grams)\n")));

        auto* gram = qobject_cast<QLineEdit*>(control(Mass));
        const QString wrong = "Specify correct weight of the final product in gram.",
                      zero = "Specify non-zero weight of the final product.";
        const QString cases[][2] = {{"abc", wrong}, {"", wrong}, {"0", zero}, {"1e-9", zero}};
        for (const auto& [typed, status] : cases) {
            gram->clear();
            QTest::keyClicks(gram, typed);
            QTest::mouseClick(control(OutputButton), Qt::LeftButton);
            QCOMPARE(text(Status), status);
        }
        gram->setText(QStringLiteral("10g"));
        // The program folder disappears: the report goes to the temporary
        // folder, and only when that fails too does the message come.
        QTemporaryDir temp;
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        dir_->remove();
        QVERIFY(output().first.contains(QStringLiteral("(10 grams)")));
        writeFile(temp.filePath(QStringLiteral("file")), "");  // not a folder
        qputenv("TMPDIR", temp.filePath(QStringLiteral("file")).toLocal8Bit());
        answerMessage();
        QTest::mouseClick(control(OutputButton), Qt::LeftButton);
        qunsetenv("TMPDIR");
        QCOMPARE(messages_, QStringList{QStringLiteral("File I/O occured while producing output.")});
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, before.c_str());
    }

    void missingAtomsOrACommandLineRecipe() {
        answerMessage();
        QVERIFY(!start(false));
        QVERIFY(!w_->isVisible());
        w_.reset();
        QVERIFY(store().allKeys().isEmpty());
        const QString good = config_.filePath("good.qvs"), bad = config_.filePath("bad.qvs");
        writeFile(good, "-2 00011\n-1 tag\n0 2 1 BaTiO3\n1 0 1 BaCO3\n2 1 1 TiO2\n");
        writeFile(bad, "0 2 1 BaTiO3\n31 0 1 TiO2\n");
        QVERIFY(start(true, good));
        QCOMPARE(text(FinalCompound) + '|' + messages_.join('|'),
                 "BaTiO3|Couldn't load data from ATOMS.LST.");
        answerMessage();
        QVERIFY(start(true, bad));
        QCOMPARE(text(FinalCompound) + '|' + messages_.join('|'),
                 "|Couldn't load data from ATOMS.LST.|Failed to load a file.");
    }

    void settingsReadAndWriteBack() {
        store().setValue(QStringLiteral("Settings/Show Differential"), 2);
        store().setValue(QStringLiteral("Settings/Output To MS Word"), 1);
        store().setValue(QStringLiteral("Settings/Last Working Dir"), QStringLiteral("/no/such/dir"));
        QDir::setCurrent(config_.path());  // earlier tests removed theirs
        const QString cwd = QDir::currentPath();
        QVERIFY(start());
        QVERIFY(!w_->action("difference")->isChecked() && !w_->settings().outputToWord);
        QCOMPARE(QDir::currentPath(), cwd);
        shortcut(Qt::Key_Q);  // Exit
        QCoreApplication::processEvents();
        QVERIFY(!w_->isVisible());
        w_.reset();
        QSettings stored = store();
        QCOMPARE(stored.value("Settings/Show Differential").toString() +
                     stored.value("Settings/Output To MS Word").toString() +
                     stored.value("Settings/Last Working Dir").toString(),
                 "00" + cwd);
        // Reading and writing leave the caller's store in no group.
        writeSettings(stored, readSettings(stored, false));
        QCOMPARE(stored.group(), QString());
    }

    void noticePagesPingAndHelp() {
        // The pages fetched in turn, the notices they gave.
        const QString rows[][2] = {
            {"/lower /blank /missing", ""},  // title case, no text, error status
            {"/markup", "Bold news & a<b> link"},
            {"/latin1", QStringLiteral("Caf\u00e9")},  // the declared charset
            {"/never", ""},                            // a slow answer times out
            {"/right /lower /second", "Version 1.52 is out.|Second frame"},
        };
        for (const auto& [paths, notices] : rows) {
            WebNotice notice;
            notice.setTimeout(150);
            QSignalSpy changed(&notice, &WebNotice::noticeChanged);
            QSignalSpy settled(&notice, &WebNotice::pageSettled);
            for (const QString& path : paths.split(' ')) {
                notice.fetch(url(path));
                QVERIFY(settled.wait(5000));
            }
            QCOMPARE(notice.pending(), 0);
            QStringList got;
            for (const QList<QVariant>& args : changed) got << args.at(0).toString();
            QCOMPARE(got.join('|'), notices);
        }
        // The start ping only with a server set.
        WebNotice quiet;
        QVERIFY(!quiet.start() && !quiet.usedNetwork());
        store().setValue("Settings/Web Server", url("/").toString());
        QVERIFY(WebNotice().start());
        QVERIFY(start());  // the window pings as it starts and shows the answer (only that path answers)
        QTRY_COMPARE_WITH_TIMEOUT(text(Notice), QStringLiteral("pinged"), 5000);

        // The setting, the server's base (empty: none, the shipped guide).
        const QString settings[][2] = {{"  ", ""},
                                       {"ftp://example.org", ""},
                                       {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
                                       {"https://example.org/base/", "https://example.org/base"}};
        const QUrl guide = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/help/index.html");
        for (const auto& [server, base] : settings) {
            store().setValue("Settings/Web Server", server);
            opened_.clear();
            openHelp();
            QCOMPARE(opened_.value(0).toString(),
                     base.isEmpty() ? guide.toString() : base + "/lantern/quorvex/help/1.50.html");
            QCOMPARE(pingUrl(webServerBase()).toString(),
                     base.isEmpty() ? QString() : base + "/lantern/quorvex/log/log.php?p=Quorvex&v=1.51");
            QCOMPARE(helpAddress(webServerBase(), config_.filePath("no-guide")).isValid(), !base.isEmpty());
        }
    }

    void sizeTabOrderAndShortcutsOnOneForm() {
        QVERIFY(start());
        fillBariumTitanate();
        qv::SourceList* list = w_->sourceList();
        const QList<QLabel*> labels = list->parentWidget()->findChildren<QLabel*>();
        const auto ratioHeader = std::ranges::find(labels, QStringLiteral("Ratio"), &QLabel::text);
        QVERIFY(ratioHeader != labels.end());
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
            QCOMPARE((*ratioHeader)->x(), list->x() + list->columnX(qv::SourceList::RatioColumn));
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
            test::saveScreenshot(*w_, QStringLiteral("window-") + (i ? "minimum" : "1500x1000"));
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
                        QVERIFY(ink * 4 > std::max(edge.width(), edge.height()));
                    }
                    test::saveScreenshot(*w_, QStringLiteral("focus-frame"));
                }
            }
        }
        // Menu shortcuts reach the window from the formula edits.
        QStringList seen;
        test::onModal<QFileDialog>([&seen](QFileDialog* dialog) {
            seen << dialog->windowTitle();
            dialog->reject();
        });
        QTest::keyClick(control(FinalCompound), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(seen.size(), 1);
        // The edits keep their own Ctrl keys: copy, then New from a row.
        QApplication::setActiveWindow(w_.get());
        clickCell(1, qv::SourceList::MaterialColumn);
        QWidget* row = w_->sourceList()->formulaEditor();
        for (Qt::Key key : {Qt::Key_A, Qt::Key_C}) QTest::keyClick(row, key, Qt::ControlModifier);
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

    void wordOnlyWhereTheOfficeCanBeSeenThenOneDocument() {
        const std::tuple<const char*, bool, const char*> rows[] = {
            {"", true, "no display"}, {":7", false, "cannot show a window"}, {":7", true, ""}};
        test::RecordingWord* fake = nullptr;
        for (const auto& [display, windows, why] : rows) {
            qputenv("DISPLAY", display);
            cleanup();  // each start reads the stored default afresh
            auto office = std::make_unique<test::RecordingWord>();
            (fake = office.get())->windows = windows;
            QVERIFY(start(true, {}, std::move(office)));
            QAction* word = w_->action("word");
            QCOMPARE(QPair(word->isEnabled(), word->isChecked()), QPair(!*why, !*why));
            QVERIFY(word->toolTip().contains(QLatin1String(*why ? why : "LibreOffice Writer")));
        }
        qputenv("DISPLAY", ":7");

        // Output to Word types into one document, or falls back.
        QAction* word = w_->action("word");
        fillBariumTitanate();
        for (int press = 0; press < 2; ++press) QTest::mouseClick(control(OutputButton), Qt::LeftButton);
        QCOMPARE(fake->documents.size(), std::size_t(1));
        const std::string report = "ID: S1\nBaTiO_{3}  (10 grams)    + CO_{2}\n";
        QCOMPARE(fake->documents[0].text.find(report), std::size_t(0));
        QVERIFY(fake->documents[0].text.find(report, 1) != std::string::npos);
        QVERIFY(fake->visible);

        // A call failing part-way, then no office at all: each time a message,
        // then the text report; only the second turns the menu to Default.
        fake->failAtCall = static_cast<int>(fake->log.size()) + 12;
        answerMessage();
        QVERIFY(output().first.startsWith(QStringLiteral("ID: S1\nBaTiO3  (10 grams)  + CO2\n")));
        QVERIFY(word->isChecked());
        fake->reachable = false;
        answerMessage();
        QVERIFY(output().first.startsWith(QStringLiteral("ID: S1\n")));
        QCOMPARE(messages_, QStringList({QStringLiteral("Output to MS Word failed!"),
                                         QLatin1String(kOfficeNotReached)}));
        QVERIFY(!word->isChecked() && w_->action("default")->isChecked());
        shortcut(Qt::Key_Q);  // kept at Exit, and read back though an office is there
        QVERIFY(start(true, {}, std::make_unique<test::RecordingWord>()));
        QVERIFY(!w_->action("word")->isChecked());
    }

    void screenReadersHearTheAnswerSlowOfficeCancels() {
        auto office = std::make_unique<HeldWord>();
        HeldWord& fake = *office;
        QVERIFY(start(true, {}, std::move(office)));
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
        QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);  // screen readers hear the answer as it is filled in
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
        bool busyShown = false;
        test::onModal<OfficeBusyDialog>([&](OfficeBusyDialog* busy) {
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

    // The report display, the explanation and About boxes, the hidden message.
    void piecesOnTheirOwn() {
        QByteArray text;
        for (int i = 0; text.size() < 3 * kDisplayChunk; ++i)
            text += "line " + QByteArray::number(i) + " \xc3\xa4\n";
        const QString path = config_.filePath("r.qv");
        writeFile(path, text.constData());
        OutputDialog dialog;
        dialog.setSource(path, QStringLiteral("Courier New"));
        QVERIFY(dialog.loadTextFile() == text.size());
        QCOMPARE(dialog.view()->toPlainText().toUtf8(), text);
        QVERIFY(QFontInfo(dialog.view()->font()).fixedPitch() && dialog.view()->isReadOnly());

        for (int box = 0; box < 2; ++box) answerMessage();  // the second once the first is gone
        OutputDialog missing;
        missing.setSource(path + QStringLiteral("x"), QStringLiteral("Courier New"));
        QCOMPARE(missing.exec(), int(QDialog::Rejected));
        QCOMPARE(messages_, QStringList({kDisplayOutputError, kDisplayResultError}));

        // The explanation and About boxes.
        QLocale::setDefault(QLocale(QLocale::German));  // the version keeps its point
        ExplanationBox box;
        QLocale::setDefault(QLocale::c());
        const QString explained = box.textLabel()->text();
        QVERIFY(explained.startsWith("Quorvex tries to give an answer") &&
                explained.endsWith("go to help in the menu.\n\n"));
        QCOMPARE(box.textLabel()->textFormat(), Qt::PlainText);
        qv::test::saveScreenshot(box, "explanation_box");

        AboutDialog about;
        QCOMPARE(box.windowTitle() + '|' + about.windowTitle() + '|' + about.titleLine()->text(),
                 QStringLiteral("Quorvex  v 1.51|About Quorvex  v 1.51|Quorvex  v 1.51"));
        const QDate built = QLocale::c().toDate(about.dateLine()->text(), "MMM dd yyyy");
        QVERIFY(built.isValid() && built <= QDate::currentDate());
        QCOMPARE(buildDateText("Jun 30 2003") + ' ' + buildDateText("Dec  7 2026"),
                 "Jun 30 2003 Dec 07 2026");
        qv::test::saveScreenshot(about, "about_box");

        // The hidden message.
        QVERIFY(!blowfishEcb(QByteArray(16, 'k'), QByteArray(12, 'x'), false));
        QVERIFY(hiddenMessageKey("abcde1234567890123456789").isEmpty());
        QCOMPARE(
            hiddenMessage(),
            QStringLiteral("Weigh twice, mix once. A careful hand at the balance is the first step of every "
                           "good sample - thank you for weighing with Quorvex."));
        // A block without a zero byte shows whole, and no further; sealing is
        // the inverse of what the stored message needed.
        const QByteArray keyText = "0123456789ABCDEF0123456789AB";
        const auto sealed = blowfishEcb(hiddenMessageKey(keyText), QByteArray(256, 'q'), true);
        QVERIFY(sealed && decipherHiddenMessage(keyText, *sealed) == QString(256, u'q'));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
