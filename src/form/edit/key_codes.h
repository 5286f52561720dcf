#pragma once
// Virtual key codes and the modifier mask that the formula editor's key map
// reads. The widgets translate their toolkit's keys onto these codes.

namespace qv {

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKey0 = 48;  // '0'..'9' are 48..57
inline constexpr int kKey9 = 57;
inline constexpr int kKeyA = 65;  // 'A'..'Z' are 65..90
inline constexpr int kKeyZ = 90;
inline constexpr int kKeyNumpad0 = 96;  // keypad digits are 96..105
inline constexpr int kKeyNumpad9 = 105;
inline constexpr int kKeyMultiply = 106;  // keypad '*'
inline constexpr int kKeyDecimal = 110;   // keypad decimal point
inline constexpr int kKeyMinus = 189;
inline constexpr int kKeyPeriod = 190;
// A layout's own "·" key has no virtual key code; this one stands for it.
inline constexpr int kKeyMiddleDot = 0x10B7;

// Modifier mask, read from the keyboard when the key goes down.
inline constexpr int kModNone = 0;
inline constexpr int kModShift = 1;
inline constexpr int kModCtrl = 2;
inline constexpr int kModAlt = 4;

}  // namespace qv
