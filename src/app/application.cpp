#include "app/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "app/app_icon.h"
#include "app/app_info.h"
#include "app/main_window.h"
#include "controls/accessibility.h"

namespace qv::app {

QString programDirectory() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString real = program.canonicalFilePath();
    const QString dir = QFileInfo(real.isEmpty() ? program.absoluteFilePath() : real).absolutePath();
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    // Settings live under the organisation and the program's base name.
    QCoreApplication::setOrganizationName(QLatin1String(kAppName));
    QCoreApplication::setApplicationName(
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    QGuiApplication::setApplicationDisplayName(QLatin1String(kAppName));
    installAccessibility();
    QApplication::setWindowIcon(applicationIcon());

    const QString dir = programDirectory();
    if (dir.size() <= 1) {
        QMessageBox::critical(nullptr, QLatin1String(kAppName), QStringLiteral("Failed to get module path."));
        return 1;
    }
    MainWindow window(dir);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) window.openAfterStart(args.at(1));
    if (!window.initialise()) return 0;
    window.show();
    return app.exec();
}

}  // namespace qv::app
