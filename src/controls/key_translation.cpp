#include "controls/key_translation.h"

#include <QKeyEvent>

#include "form/edit/key_codes.h"

namespace qv {
namespace {

struct KeyRow {
    int qtKey;
    int code;
    bool shifted;  // the key is what Shift makes of the code's key
};

// Letters (Key_A..Key_Z) and digits (Key_0..Key_9) share their codes with
// the virtual keys and need no row. Shifted digits follow a US layout.
constexpr KeyRow kKeyTable[] = {
    {Qt::Key_Backspace, kKeyBackspace, false},
    {Qt::Key_Tab, kKeyTab, false},
    {Qt::Key_Backtab, kKeyTab, true},
    {Qt::Key_Return, kKeyReturn, false},
    {Qt::Key_Enter, kKeyReturn, false},
    {Qt::Key_PageUp, kKeyPageUp, false},
    {Qt::Key_PageDown, kKeyPageDown, false},
    {Qt::Key_End, kKeyEnd, false},
    {Qt::Key_Home, kKeyHome, false},
    {Qt::Key_Left, kKeyLeft, false},
    {Qt::Key_Up, kKeyUp, false},
    {Qt::Key_Right, kKeyRight, false},
    {Qt::Key_Down, kKeyDown, false},
    {Qt::Key_Delete, kKeyDelete, false},
    {Qt::Key_Minus, kKeyMinus, false},
    {Qt::Key_Underscore, kKeyMinus, true},
    {Qt::Key_Period, kKeyPeriod, false},
    {Qt::Key_Greater, kKeyPeriod, true},
    {Qt::Key_ParenRight, kKey0, true},
    {Qt::Key_Exclam, '1', true},
    {Qt::Key_At, '2', true},
    {Qt::Key_NumberSign, '3', true},
    {Qt::Key_Dollar, '4', true},
    {Qt::Key_Percent, '5', true},
    {Qt::Key_AsciiCircum, '6', true},
    {Qt::Key_Ampersand, '7', true},
    {Qt::Key_Asterisk, '8', true},
    {Qt::Key_ParenLeft, kKey9, true},
    {Qt::Key_periodcentered, kKeyMiddleDot, false},
};

int modifierMask(Qt::KeyboardModifiers modifiers) {
    int mask = kModNone;
    if (modifiers & Qt::ShiftModifier) mask |= kModShift;
    if (modifiers & Qt::ControlModifier) mask |= kModCtrl;
    if (modifiers & Qt::AltModifier) mask |= kModAlt;
    return mask;
}

}  // namespace

std::optional<VirtualKey> translateKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    const int mods = modifierMask(modifiers);
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return VirtualKey{kKeyNumpad0 + (qtKey - Qt::Key_0), mods};
        if (qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma) return VirtualKey{kKeyDecimal, mods};
        if (qtKey == Qt::Key_Minus) return std::nullopt;  // the keypad's own minus types nothing
        if (qtKey == Qt::Key_Asterisk) return VirtualKey{kKeyMultiply, mods};
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return VirtualKey{qtKey, mods};
    for (const KeyRow& row : kKeyTable)
        if (row.qtKey == qtKey) return VirtualKey{row.code, row.shifted ? mods | kModShift : mods};
    return std::nullopt;
}

std::optional<VirtualKey> translateKey(const QKeyEvent& event) {
    return translateKey(event.key(), event.modifiers());
}

bool formulaKeyMapUses(const VirtualKey& key) {
    const bool letterOrDigit = (key.code >= 'A' && key.code <= 'Z') || (key.code >= '0' && key.code <= '9');
    if (!(key.modifiers & kModCtrl) || !letterOrDigit) return true;
    if (key.modifiers == (kModCtrl | kModShift)) return key.code == 'J';
    if (key.modifiers != kModCtrl) return false;
    return key.code == 'A' || key.code == 'C' || key.code == 'V' || key.code == 'X' || key.code == 'Z';
}

}  // namespace qv
