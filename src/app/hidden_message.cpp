#include "app/hidden_message.h"

#include <bit>
#include <cstring>
#include <memory>

#include <QCryptographicHash>
#include <QtEndian>

#include <openssl/evp.h>
#if OPENSSL_VERSION_MAJOR >= 3
#include <openssl/provider.h>
#endif

#include "app/hidden_message_data.h"

namespace qv::app {

namespace {

// OpenSSL reads each half-block big-endian; the stored block was made with
// the words in machine order, so turn them round where the two differ.
void toCipherOrder(QByteArray& data) {
    if constexpr (std::endian::native == std::endian::big) return;
    for (qsizetype at = 0; at + 4 <= data.size(); at += 4) {
        quint32 word;
        std::memcpy(&word, data.constData() + at, 4);
        word = qbswap(word);
        std::memcpy(data.data() + at, &word, 4);
    }
}

template <auto Free>
struct Deleter {
    template <typename T>
    void operator()(T* p) const {
        Free(p);
    }
};

}  // namespace

QByteArray hiddenMessageKey(QByteArrayView keyText) {
    if (keyText.size() < 25) return {};
    return QCryptographicHash::hash(keyText.sliced(5, 20), QCryptographicHash::Md5);
}

std::optional<QByteArray> blowfishEcb(QByteArrayView key, QByteArrayView data, bool encrypt) {
    if (key.isEmpty() || data.size() % 8 != 0) return std::nullopt;

#if OPENSSL_VERSION_MAJOR >= 3
    // Blowfish lives in the legacy provider. Load it into a context of our
    // own so the rest of the process (Qt's TLS) keeps OpenSSL's defaults.
    std::unique_ptr<OSSL_LIB_CTX, Deleter<OSSL_LIB_CTX_free>> lib(OSSL_LIB_CTX_new());
    if (!lib) return std::nullopt;
    std::unique_ptr<OSSL_PROVIDER, Deleter<OSSL_PROVIDER_unload>> legacy(
        OSSL_PROVIDER_load(lib.get(), "legacy"));
    if (!legacy) return std::nullopt;
    std::unique_ptr<EVP_CIPHER, Deleter<EVP_CIPHER_free>> fetched(
        EVP_CIPHER_fetch(lib.get(), "BF-ECB", nullptr));
    const EVP_CIPHER* cipher = fetched.get();
#else
    const EVP_CIPHER* cipher = EVP_bf_ecb();
#endif
    if (!cipher) return std::nullopt;

    std::unique_ptr<EVP_CIPHER_CTX, Deleter<EVP_CIPHER_CTX_free>> ctx(EVP_CIPHER_CTX_new());
    const int enc = encrypt ? 1 : 0;
    if (!ctx || EVP_CipherInit_ex(ctx.get(), cipher, nullptr, nullptr, nullptr, enc) != 1 ||
        EVP_CIPHER_CTX_set_key_length(ctx.get(), int(key.size())) != 1 ||
        EVP_CipherInit_ex(ctx.get(), nullptr, nullptr, reinterpret_cast<const unsigned char*>(key.data()),
                          nullptr, enc) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1)
        return std::nullopt;

    QByteArray in = data.toByteArray();
    toCipherOrder(in);
    QByteArray out(in.size() + 8, '\0');
    int written = 0;
    int tail = 0;
    auto* outBytes = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherUpdate(ctx.get(), outBytes, &written,
                         reinterpret_cast<const unsigned char*>(in.constData()), int(in.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), outBytes + written, &tail) != 1 || written + tail != in.size())
        return std::nullopt;
    out.truncate(in.size());
    toCipherOrder(out);
    return out;
}

QString decipherHiddenMessage(QByteArrayView keyText, QByteArrayView block) {
    const std::optional<QByteArray> plain = blowfishEcb(hiddenMessageKey(keyText), block, false);
    if (!plain) return {};
    const qsizetype end = plain->indexOf('\0');
    return QString::fromLatin1(plain->left(end < 0 ? plain->size() : end));
}

QString hiddenMessage() {
    return decipherHiddenMessage(
        QByteArrayView(kHiddenKeyText, sizeof kHiddenKeyText - 1),
        QByteArrayView(reinterpret_cast<const char*>(kHiddenBlock), sizeof kHiddenBlock));
}

}  // namespace qv::app
