#include "app/web_server.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrlQuery>

#include "app/app_info.h"

namespace qv::app {

namespace {

QUrl withPath(const QUrl& base, const QString& path) {
    if (!base.isValid()) return {};
    QUrl url = base;
    QString prefix = url.path();
    while (prefix.endsWith(u'/')) prefix.chop(1);
    url.setPath(prefix + path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

}  // namespace

QString versionText() { return QLatin1String(kShortVersion); }

QUrl webServerBase(const QString& configured) {
    const QString text = configured.trimmed();
    if (text.isEmpty()) return {};
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty()) return {};
    return url;
}

QUrl webServerBase() {
    // The store the main window keeps its settings in.
    QSettings settings(QLatin1String(kAppName), QCoreApplication::applicationName());
    settings.beginGroup(QStringLiteral("Settings"));
    return webServerBase(settings.value(QStringLiteral("Web Server")).toString());
}

QUrl helpPageUrl(const QUrl& base) {
    return withPath(base, QStringLiteral("/lantern/quorvex/help/1.50.html"));
}

QUrl pingUrl(const QUrl& base) {
    QUrl url = withPath(base, QStringLiteral("/lantern/quorvex/log/log.php"));
    if (!url.isValid()) return {};
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("p"), QLatin1String(kAppName));
    query.addQueryItem(QStringLiteral("v"), versionText());
    url.setQuery(query);
    return url;
}

QUrl localHelpPage(const QString& programDir) {
    const QFileInfo page(QDir(programDir), QStringLiteral("help/index.html"));
    if (!page.isFile()) return {};
    return QUrl::fromLocalFile(page.canonicalFilePath());
}

QUrl helpAddress(const QUrl& serverBase, const QString& programDir) {
    return serverBase.isValid() ? helpPageUrl(serverBase) : localHelpPage(programDir);
}

void openHelp() {
    // applicationDirPath comes from /proc/self/exe, so a symlinked launcher
    // still finds the guide beside the real program.
    const QUrl url = helpAddress(webServerBase(), QCoreApplication::applicationDirPath());
    if (url.isValid()) QDesktopServices::openUrl(url);
}

}  // namespace qv::app
