#pragma once
// What the widget suites share: the fonts every edit draws with and the
// screenshots that QV_SCREENSHOTS=DIR asks for.

#include <QString>

class QWidget;

namespace qv {
class FormulaFonts;
class SourceList;
}

namespace qv::test {

// Made on first use, after the QApplication.
const FormulaFonts& sharedFonts();

// The keys a user presses on a US keyboard for the text: capitals and
// brackets with Shift, as the key translation expects them; "\n" Return and
// "\t" Tab, after which the keys go to wherever the focus went.
void typeKeys(QWidget* widget, const QString& text);

// Clicks the middle of a source list cell, the list scrolled or not.
void clickCell(SourceList* list, int row, int column);

// Saves the widget as DIR/<name>@<scale>x.png when QV_SCREENSHOTS is set,
// showing it first if it is hidden.
void saveScreenshot(QWidget& widget, const QString& name);

}  // namespace qv::test
