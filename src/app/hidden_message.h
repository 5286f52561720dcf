#pragma once
// The hidden message behind Ctrl+Shift+J: a zero-terminated text kept
// enciphered with Blowfish under the MD5 digest of part of a key text.

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qv::app {

// The 16-byte key: MD5 of the 20 characters after the first five of
// keyText. Empty when keyText is shorter than 25 characters.
QByteArray hiddenMessageKey(QByteArrayView keyText);

// Blowfish in ECB mode over whole 8-byte blocks, each block read as two
// 32-bit words in this machine's byte order (the stored block was made that
// way). Nothing when the data is not whole blocks or the cipher is missing.
std::optional<QByteArray> blowfishEcb(QByteArrayView key, QByteArrayView data, bool encrypt);

// The deciphered block up to its first zero byte, as Latin-1; empty when
// anything fails.
QString decipherHiddenMessage(QByteArrayView keyText, QByteArrayView block);

// The program's own message.
QString hiddenMessage();

}  // namespace qv::app
