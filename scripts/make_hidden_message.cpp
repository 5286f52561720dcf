// Writes src/app/hidden_message_data.h: a fresh key text and the message enciphered
// the way the program deciphers it.
//
//   quorvex-hidden-message "MESSAGE" [KEYTEXT] > src/app/hidden_message_data.h

#include <cstdio>
#include <cstring>

#include <QByteArray>
#include <QRandomGenerator>

#include "app/hidden_message.h"

namespace {

constexpr int kBlockBytes = 256;

QByteArray freshKeyText() {
    static const char digits[] = "0123456789ABCDEF";
    QByteArray text;
    for (int i = 0; i < 28; ++i) text += digits[QRandomGenerator::system()->bounded(16)];
    return text;
}

bool isHexKeyText(const QByteArray& text) {
    if (text.size() != 28) return false;
    for (char c : text)
        if (!std::strchr("0123456789abcdefABCDEF", c)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s MESSAGE [KEYTEXT]\n", argv[0]);
        return 64;
    }
    const QByteArray message(argv[1]);
    if (message.isEmpty() || message.size() >= kBlockBytes || message.contains('\0')) {
        std::fprintf(stderr, "the message needs 1 to %d bytes\n", kBlockBytes - 1);
        return 64;
    }
    const QByteArray keyText = argc == 3 ? QByteArray(argv[2]) : freshKeyText();
    if (!isHexKeyText(keyText)) {
        std::fprintf(stderr, "the key text is 28 hexadecimal digits\n");
        return 64;
    }

    QByteArray block = message;
    block.resize(kBlockBytes, '\0');
    const auto sealed = qv::app::blowfishEcb(qv::app::hiddenMessageKey(keyText), block, true);
    if (!sealed || qv::app::decipherHiddenMessage(keyText, *sealed) != QString::fromLatin1(message)) {
        std::fprintf(stderr, "Blowfish is not available (OpenSSL legacy provider?)\n");
        return 1;
    }

    std::printf("#pragma once\n"
                "// Made by scripts/make_hidden_message.cpp; regenerate, do not edit.\n\n"
                "namespace qv::app {\n\n"
                "inline constexpr char kHiddenKeyText[] = \"%s\";\n\n"
                "inline constexpr unsigned char kHiddenBlock[%d] = {",
                keyText.constData(), kBlockBytes);
    for (int i = 0; i < kBlockBytes; ++i)
        std::printf("%s0x%02x,", i % 12 == 0 ? "\n    " : " ", static_cast<unsigned char>(sealed->at(i)));
    std::printf("\n};\n\n}  // namespace qv::app\n");
    return 0;
}
