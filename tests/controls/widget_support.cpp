#include "widget_support.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "controls/formula_fonts.h"

namespace qv::test {

const FormulaFonts& sharedFonts() {
    static const FormulaFonts fonts;
    return fonts;
}

void saveScreenshot(QWidget& widget, const QString& name) {
    const QString dir = qEnvironmentVariable("QV_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    const QPixmap shot = widget.grab();
    shot.save(QDir(dir).filePath(
        QStringLiteral("%1@%2x.png").arg(name).arg(shot.devicePixelRatio())));
}

}  // namespace qv::test
