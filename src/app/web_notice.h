#pragma once
// The start-up web ping and the notice it may bring back: a page on the
// maker's server whose title is exactly "Quorvex" puts its body text into
// the notice line. Nothing here ever reports a failure.

#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace qv::app {

// Title and body text of an HTML page, through Qt's HTML importer. Images
// and other resources are never loaded.
struct PageText {
    QString title;
    QString body;
};
PageText readPage(const QString& html);

// The notice for a page: its body text as one plain line when the title is
// exactly the application name and the body has text, else empty.
QString noticeFromPage(const QString& html);

class WebNotice : public QObject {
    Q_OBJECT
public:
    explicit WebNotice(QObject* parent = nullptr);

    // How long one page may take from request to last byte.
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    int timeout() const { return timeoutMs_; }

    // Pings the configured server; false (and no request at all) when the
    // settings name none.
    bool start();

    // Fetches one page without blocking; every page that completes is
    // compared on its own. An invalid address does nothing.
    void fetch(const QUrl& url);

    int pending() const { return pending_; }
    bool usedNetwork() const { return manager_ != nullptr; }

signals:
    // Plain text for the notice line (never markup).
    void noticeChanged(const QString& text);
    // A fetch ended, whatever its outcome; tests wait on it.
    void pageSettled();

private:
    void finish(QNetworkReply* reply);

    QNetworkAccessManager* manager_ = nullptr;
    int timeoutMs_ = 15000;
    int pending_ = 0;
};

}  // namespace qv::app
