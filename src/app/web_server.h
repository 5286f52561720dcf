#pragma once
// The maker's web server: where Help points and what the start-up ping asks.
// With no server configured the program makes no network request at all.

#include <QString>
#include <QUrl>

namespace qv::app {

// The version as the ping sends it, "%.2f" with a point in every locale.
QString versionText();

// The settings value "Web Server" (group "Settings") as a usable base
// address: http or https with a host, or an invalid QUrl when the value is
// empty or not such an address.
QUrl webServerBase();
QUrl webServerBase(const QString& configured);

// base + "/lantern/quorvex/help/1.50.html"; base + the ping path and query.
// Both answer an invalid QUrl for an invalid base.
QUrl helpPageUrl(const QUrl& base);
QUrl pingUrl(const QUrl& base);

// The guide shipped beside the program (help/index.html next to the real
// path of the executable); an invalid QUrl when it is not there.
QUrl localHelpPage(const QString& programDir);

// The server's help page, or the shipped guide when no server is set.
QUrl helpAddress(const QUrl& serverBase, const QString& programDir);

// Hands the help address to the desktop's browser. Not waited for; a
// failure shows nothing.
void openHelp();

}  // namespace qv::app
