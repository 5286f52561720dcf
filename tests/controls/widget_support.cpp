#include "widget_support.h"

#include <QtTest>
#include <QtWidgets>

namespace qv::test {

const FormulaFonts& sharedFonts() {
    static const FormulaFonts fonts;
    return fonts;
}

void typeKeys(QWidget* widget, const QString& text) {
    for (QChar qc : text) {
        const char c = qc.toLatin1();
        if (c == '\n' || c == '\t') {  // the editors post what these ask for: let it happen
            QTest::keyClick(widget, c == '\n' ? Qt::Key_Return : Qt::Key_Tab);
            QCoreApplication::processEvents();
            widget = QApplication::focusWidget();
            continue;
        }
        // Qt's key codes are the upper-case ASCII codes; '(' and ')' are Shift+9 and Shift+0.
        const bool shift = (c >= 'A' && c <= 'Z') || c == '(' || c == ')';
        QTest::keyClick(widget, Qt::Key(qc.toUpper().unicode()), shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

void clickCell(SourceList* list, int row, int column) {
    const QRect cell = list->cellRect(row - list->firstVisibleRow(), SourceList::Column(column));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

void saveScreenshot(QWidget& widget, const QString& name) {
    const QString dir = qEnvironmentVariable("QV_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    if (!widget.isVisible()) {  // a dialog lays itself out when shown
        widget.show();
        (void)QTest::qWaitForWindowExposed(&widget);
    }
    const QPixmap shot = widget.grab();
    shot.save(QDir(dir).filePath(QStringLiteral("%1@%2x.png").arg(name).arg(shot.devicePixelRatio())));
}

}  // namespace qv::test
