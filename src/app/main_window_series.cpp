// File > Series: the composition series over a copy of the form.

#include <QLineEdit>

#include "app/main_window.h"
#include "app/series_dialog.h"
#include "form/edit/formula_editing.h"
#include "output/output_grams.h"
#include "recipe/recipe_file.h"

namespace qv::app {

void MainWindow::showSeries() {
    SeriesStart start;
    start.grams = gram_->text().toStdString();
    double mass = 0.0;
    if (readOutputGrams(start.grams, mass) != GramCheck::Ok) mass = 0.0;
    start.recipe = recipeText(*model_, mass);
    start.finalFormula = model_->finalCompound().text();
    start.corrections = model_->corrections();
    SeriesDialog dialog(model_->elementTable(), start, this);
    connect(&dialog, &SeriesDialog::openInForm, this, [this, &dialog](const QString& formula) {
        // As if typed over the whole final compound: its ratio stays.
        Formula& final = model_->finalCompound();
        selectRange(final.edit(), 0, -1);
        if (final.edit().length() > 0) {
            replaceSelection(final, formula.toStdString());
        } else {
            insertText(final.edit(), formula.toStdString());
            model_->textChanged(final);
        }
        refreshFormulaEdits();
        dialog.accept();
    });
    dialog.exec();
}

}  // namespace qv::app
