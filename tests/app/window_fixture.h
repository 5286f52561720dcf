#pragma once
// What the window suites share: a main window over a fresh program folder,
// started as the program starts it, and the gestures a chemist makes on it.

#include <QtTest>
#include <QtWidgets>

#include "app/app_info.h"
#include "app/main_window.h"
#include "app/output_dialog.h"
#include "controls/accessibility.h"
#include "widget_support.h"

namespace qv::test {

constexpr const char* kElements = "1 H 1.008 m\n2 C 12.01 m\n3 O 16 m\n4 Ti 47.87\n5 Ba 137.33\n";

// Runs `act` on the next modal widget of type T, once it is up.
template <class T>
void onModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            act(modal);
        }
    });
    timer->start(0);
}

inline void chooseFile(const QString& path) {
    onModal<QFileDialog>([path](QFileDialog* dialog) {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

inline void clickButton(QWidget* parent, const QString& text) {
    for (QPushButton* b : parent->findChildren<QPushButton*>())
        if (b->text() == text) QTest::mouseClick(b, Qt::LeftButton);
}

class WindowFixture : public QObject {
protected:
    QTemporaryDir config_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<app::MainWindow> w_;
    QStringList messages_;  // the texts of the message boxes answered

    // Settings in a folder of their own, no office of the system's.
    void setUpWindowTests() {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        qputenv("QV_SOFFICE", "");  // no office: Output goes to the text report
        qputenv("DISPLAY", ":7");   // where injected offices could show a window
        QCoreApplication::setApplicationName(QStringLiteral("quorvex"));
        installAccessibility();
    }
    void tearDownWindow() {
        w_.reset();
        messages_.clear();
        QSettings(QLatin1String(app::kAppName), QStringLiteral("quorvex")).clear();
    }

    using enum qv::ControlId;
    // Answers the next message box.
    void answerMessage() {
        onModal<QMessageBox>([this](QMessageBox* box) {
            messages_.append(box->text());
            box->accept();
        });
    }

    // What the control shows.
    QString text(ControlId id) const {
        QWidget* c = w_->control(id);
        if (auto* f = qobject_cast<FormulaEdit*>(c)) return QString::fromStdString(f->text());
        if (auto* p = qobject_cast<QPlainTextEdit*>(c)) return p->toPlainText();
        return c->property("text").toString();
    }
    QString texts(std::initializer_list<ControlId> ids) const {
        QStringList out;
        for (ControlId id : ids) out << text(id);
        return out.join('|');
    }
    QWidget* control(ControlId id) const { return w_->control(id); }
    QListWidget* list(ControlId id) const { return qobject_cast<QListWidget*>(control(id)); }
    // "C O|Ba Ti": the Exclude list, then the Include list.
    QString lists() const {
        QStringList out[2];
        for (int i = 0; i < 2; ++i)
            for (int row = 0; row < list(i ? IncludeList : ExcludeList)->count(); ++row)
                out[i] << list(i ? IncludeList : ExcludeList)->item(row)->text();
        return out[0].join(' ') + '|' + out[1].join(' ');
    }

    static void writeFile(const QString& path, const char* bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) >= 0);
    }
    // A window over a fresh program folder, started as the program starts it.
    bool start(bool withAtoms = true, const QString& recipe = {}, std::unique_ptr<WordOffice> office = {}) {
        dir_ = std::make_unique<QTemporaryDir>();
        if (withAtoms) writeFile(dir_->filePath(QStringLiteral("ATOMS.LST")), kElements);
        w_ = std::make_unique<app::MainWindow>(dir_->path() + QLatin1Char('/'));
        w_->openAfterStart(recipe);
        if (office) w_->setWordOffice(std::move(office));
        if (!w_->initialise()) return false;
        w_->show();
        // The deferred initialisation, then the recipe after it.
        for (int pass = 0; pass < 2; ++pass) QCoreApplication::processEvents();
        return w_->initialised();
    }
    void clickCell(int row, int column) { test::clickCell(w_->sourceList(), row, column); }
    void typeRow(int row, const char* formula) {
        clickCell(row, qv::SourceList::MaterialColumn);
        test::typeKeys(w_->sourceList()->formulaEditor(), QLatin1String(formula));
    }
    void clickElement(ControlId id, const QString& symbol) {
        QListWidgetItem* item = list(id)->findItems(symbol, Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(list(id)->viewport(), Qt::LeftButton, {}, list(id)->visualItemRect(item).center());
    }
    void shortcut(Qt::Key key) {
        QApplication::setActiveWindow(w_.get());  // back from a dialog
        QTest::keyClick(w_.get(), key, Qt::ControlModifier);
    }
    void fillBariumTitanate() {
        QTest::keyClicks(control(SampleTag), "S1");
        qobject_cast<QLineEdit*>(control(Mass))->selectAll();
        QTest::keyClicks(control(Mass), "10");
        test::typeKeys(control(FinalCompound), QStringLiteral("BaTiO3"));
        typeRow(0, "BaCO3");
        typeRow(1, "TiO2");
    }
    // Presses Output and returns what the display showed (after Copy All,
    // then Close) and the file it showed.
    QPair<QString, QByteArray> output() {
        QPair<QString, QByteArray> seen;
        onModal<app::OutputDialog>([&seen, this](app::OutputDialog* dialog) {
            seen.first = dialog->view()->toPlainText();
            QFile file(dir_->filePath(QDir(dir_->path()).entryList({QStringLiteral("*.qv")}).value(0)));
            if (file.open(QIODevice::ReadOnly)) seen.second = file.readAll();
            test::saveScreenshot(*dialog, QStringLiteral("output"));
            for (const char* name : {"Copy All", "Close"}) clickButton(dialog, QLatin1String(name));
            if (dialog->isVisible()) {  // Close did nothing
                seen.first = QStringLiteral("<still open>");
                dialog->reject();
            }
        });
        QTest::mouseClick(control(OutputButton), Qt::LeftButton);
        return seen;
    }
};

}  // namespace qv::test
