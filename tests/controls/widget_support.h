#pragma once
// What the widget suites share: the fonts every edit draws with and the
// screenshots that QV_SCREENSHOTS=DIR asks for.

#include <QWidget>

#include "controls/formula_fonts.h"
#include "controls/source_list.h"

namespace qv::test {

// Made on first use, after the QApplication.
const FormulaFonts& sharedFonts();

// The keys a user presses on a US keyboard for the text: capitals and
// brackets with Shift, as the key translation expects them; "\n" Return and
// "\t" Tab, after which the keys go to wherever the focus went.
void typeKeys(QWidget* widget, const QString& text);

// Clicks the middle of a source list cell, the list scrolled or not.
void clickCell(SourceList* list, int row, int column);

// The navigation requests an editor sent, in order: "f1" focus backward,
// "s0" step forward, "p34" page key 34.
template <class Edit>
struct Requests {
    QString seen;
    explicit Requests(Edit* edit) {
        QObject::connect(edit, &Edit::moveFocusRequested, [this](bool b) { seen += QString(" f%1").arg(b); });
        QObject::connect(edit, &Edit::stepRequested, [this](bool b) { seen += QString(" s%1").arg(b); });
        QObject::connect(edit, &Edit::pageRequested, [this](int key) { seen += QString(" p%1").arg(key); });
    }
};

// Saves the widget as DIR/<name>@<scale>x.png when QV_SCREENSHOTS is set,
// showing it first if it is hidden.
void saveScreenshot(QWidget& widget, const QString& name);

}  // namespace qv::test
