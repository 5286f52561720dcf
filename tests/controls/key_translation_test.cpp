#include <QKeyEvent>
#include <QTest>

#include "controls/key_translation.h"
#include "form/edit/key_codes.h"

namespace qv {

class KeyTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void table_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("qtMods");
        QTest::addColumn<int>("code");  // -1: no code
        QTest::addColumn<int>("mods");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
        QTest::newRow("letter by its capital") << int(Qt::Key_F) << 0 << int('F') << kModNone;
        QTest::newRow("ctrl+shift+J") << int(Qt::Key_J) << (ctrl | shift) << int('J') << (kModCtrl | kModShift);
        QTest::newRow("alt") << int(Qt::Key_A) << int(Qt::AltModifier) << int('A') << kModAlt;
        QTest::newRow("digit") << int(Qt::Key_2) << 0 << int('2') << kModNone;
        QTest::newRow("shift+9") << int(Qt::Key_ParenLeft) << shift << kKey9 << kModShift;
        QTest::newRow("shift+0") << int(Qt::Key_ParenRight) << shift << kKey0 << kModShift;
        QTest::newRow("( typed unshifted") << int(Qt::Key_ParenLeft) << 0 << kKey9 << kModShift;
        QTest::newRow("shift+minus") << int(Qt::Key_Underscore) << shift << kKeyMinus << kModShift;
        QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << kKeyMinus << kModNone;
        QTest::newRow("shift+5") << int(Qt::Key_Percent) << shift << int('5') << kModShift;
        QTest::newRow("period") << int(Qt::Key_Period) << ctrl << kKeyPeriod << kModCtrl;
        QTest::newRow("keypad 7") << int(Qt::Key_7) << pad << kKeyNumpad0 + 7 << kModNone;
        QTest::newRow("shift+keypad 9") << int(Qt::Key_9) << (pad | shift) << kKeyNumpad9 << kModShift;
        QTest::newRow("keypad point") << int(Qt::Key_Period) << pad << kKeyDecimal << kModNone;
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << pad << kKeyDecimal << kModNone;
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << pad << -1 << 0;
        QTest::newRow("backtab") << int(Qt::Key_Backtab) << shift << kKeyTab << kModShift;
        QTest::newRow("enter") << int(Qt::Key_Enter) << pad << kKeyReturn << kModNone;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << kKeyPageDown << kModNone;
        QTest::newRow("shift+home") << int(Qt::Key_Home) << shift << kKeyHome << kModShift;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << kKeyDelete << kModNone;
        QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << 0 << -1 << 0;
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << -1 << 0;
    }
    void table() {
        QFETCH(int, qtKey);
        QFETCH(int, qtMods);
        QFETCH(int, code);
        QFETCH(int, mods);
        const QKeyEvent event(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers(qtMods));
        const std::optional<VirtualKey> vk = translateKey(event);
        QCOMPARE(vk.has_value(), code >= 0);
        if (vk) {
            QCOMPARE(vk->code, code);
            QCOMPARE(vk->modifiers, mods);
        }
    }
};

}  // namespace qv

QTEST_APPLESS_MAIN(qv::KeyTranslationTest)
#include "key_translation_test.moc"
