#pragma once
// What the widget suites share: the fonts every edit draws with and the
// screenshots that QV_SCREENSHOTS=DIR asks for.

#include <QString>

class QWidget;

namespace qv {
class FormulaFonts;
}

namespace qv::test {

// Made on first use, after the QApplication.
const FormulaFonts& sharedFonts();

// The keys a user presses on a US keyboard for the text: capitals and
// brackets with Shift, as the key translation expects them.
void typeKeys(QWidget* widget, const QString& text);

// Saves the widget as DIR/<name>@<scale>x.png when QV_SCREENSHOTS is set,
// showing it first if it is hidden.
void saveScreenshot(QWidget& widget, const QString& name);

}  // namespace qv::test
