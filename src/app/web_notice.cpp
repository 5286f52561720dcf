#include "app/web_notice.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTimer>

#include "app/app_info.h"
#include "app/web_server.h"

namespace qv::app {

namespace {

// A notice is one line of text; a page far larger than that is not ours.
constexpr qint64 kMaxPageBytes = 256 * 1024;
constexpr qsizetype kMaxNoticeChars = 400;

// The importer would fetch images (even local files) when the document is
// laid out; a page from the network gets nothing.
class TextOnlyDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString decodePage(const QByteArray& data, const QByteArray& contentType) {
    const qsizetype at = contentType.toLower().indexOf("charset=");
    if (at >= 0) {
        QByteArray name = contentType.mid(at + 8);
        if (const qsizetype end = name.indexOf(';'); end >= 0) name.truncate(end);
        name = name.trimmed();
        if (name.startsWith('"')) name = name.mid(1, name.size() - 2);
        QStringDecoder decoder(name.constData());
        if (decoder.isValid()) return decoder.decode(data);
    }
    QStringDecoder decoder(QStringConverter::encodingForHtml(data).value_or(QStringConverter::Utf8));
    return decoder.decode(data);
}

}  // namespace

PageText readPage(const QString& html) {
    TextOnlyDocument doc;
    doc.setHtml(html);
    return {doc.metaInformation(QTextDocument::DocumentTitle), doc.toPlainText()};
}

QString noticeFromPage(const QString& html) {
    const PageText page = readPage(html);
    if (page.title != QLatin1String(kAppName)) return {};
    QString text = page.body;
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::Nbsp, u' ');
    text = text.simplified();
    if (text.size() > kMaxNoticeChars) text = text.left(kMaxNoticeChars - 1) + QChar(0x2026);
    return text;
}

WebNotice::WebNotice(QObject* parent) : QObject(parent) {}

bool WebNotice::start() {
    const QUrl url = pingUrl(webServerBase());
    if (!url.isValid()) return false;
    fetch(url);
    return true;
}

void WebNotice::fetch(const QUrl& url) {
    if (!url.isValid()) return;
    if (!manager_) manager_ = new QNetworkAccessManager(this);

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("%1/%2").arg(QLatin1String(kAppName), versionText()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);

    QNetworkReply* reply = manager_->get(request);
    ++pending_;
    // A deadline for the whole page, not just between bytes, so a server
    // that trickles cannot keep the request alive.
    QTimer::singleShot(timeoutMs_, reply, [reply] { reply->abort(); });
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxPageBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
}

void WebNotice::finish(QNetworkReply* reply) {
    reply->deleteLater();
    --pending_;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
        const QString notice =
            noticeFromPage(decodePage(reply->read(kMaxPageBytes), reply->rawHeader("Content-Type")));
        if (!notice.isEmpty()) emit noticeChanged(notice);
    }
    emit pageSettled();
}

}  // namespace qv::app
