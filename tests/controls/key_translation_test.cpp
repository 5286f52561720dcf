#include <QKeyEvent>
#include <QTest>

#include "controls/key_translation.h"
#include "form/edit/key_codes.h"

namespace qv {

class KeyTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void table() {
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
        struct Row {
            const char* name;
            int qtKey, qtMods, code, mods;  // code -1: none
        };
        const Row rows[] = {
            {"letter by its capital", Qt::Key_F, 0, 'F', kModNone},
            {"ctrl+shift+J", Qt::Key_J, ctrl | shift, 'J', kModCtrl | kModShift},
            {"alt", Qt::Key_A, Qt::AltModifier, 'A', kModAlt},
            {"shift+9", Qt::Key_ParenLeft, shift, kKey9, kModShift},
            {"shift+0", Qt::Key_ParenRight, shift, kKey0, kModShift},
            {"( typed unshifted", Qt::Key_ParenLeft, 0, kKey9, kModShift},
            {"shift+minus", Qt::Key_Underscore, shift, kKeyMinus, kModShift},
            {"minus", Qt::Key_Minus, 0, kKeyMinus, kModNone},
            {"ctrl+period", Qt::Key_Period, ctrl, kKeyPeriod, kModCtrl},
            {"keypad 7", Qt::Key_7, pad, kKeyNumpad0 + 7, kModNone},
            {"shift+keypad 9", Qt::Key_9, pad | shift, kKeyNumpad9, kModShift},
            {"keypad point", Qt::Key_Period, pad, kKeyDecimal, kModNone},
            {"keypad comma", Qt::Key_Comma, pad, kKeyDecimal, kModNone},
            {"keypad minus", Qt::Key_Minus, pad, -1, 0},
            {"backtab", Qt::Key_Backtab, shift, kKeyTab, kModShift},
            {"enter", Qt::Key_Enter, pad, kKeyReturn, kModNone},
            {"delete", Qt::Key_Delete, 0, kKeyDelete, kModNone},
            {"semicolon", Qt::Key_Semicolon, 0, -1, 0},
        };
        for (const Row& row : rows) {
            const QKeyEvent event(QEvent::KeyPress, row.qtKey, Qt::KeyboardModifiers(row.qtMods));
            const std::optional<VirtualKey> vk = translateKey(event);
            const VirtualKey want{row.code, row.mods};
            QVERIFY2(row.code < 0 ? !vk : vk == want, row.name);
        }
    }
};

}  // namespace qv

QTEST_APPLESS_MAIN(qv::KeyTranslationTest)
#include "key_translation_test.moc"
