// File > Open and File > Save: recipe files through the file dialogs.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "app/main_window.h"
#include "recipe/recipe_file.h"

namespace qv::app {

namespace {

// The dialogs start in the current folder and leave it at the chosen file's
// folder, which is what "Last Working Dir" keeps.
QString chooseRecipe(QWidget* parent, QFileDialog::AcceptMode mode, const QString& suggested) {
    QFileDialog dialog(parent, mode == QFileDialog::AcceptOpen ? QObject::tr("Open") : QObject::tr("Save As"),
                       QDir::currentPath(), QLatin1String(kRecipeFilter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QLatin1String(kRecipeSuffix));
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

bool MainWindow::openRecipe() {
    const QString path = chooseRecipe(this, QFileDialog::AcceptOpen, {});
    return !path.isEmpty() && openRecipeFile(path);
}

bool MainWindow::openRecipeFile(const QString& path) {
    const RecipeResult result = loadRecipe(*model_, localPath(path));
    refreshFormulaEdits();
    if (result != RecipeResult::Done) return false;
    sampleTag_->setFocus(Qt::OtherFocusReason);
    return true;
}

bool MainWindow::saveRecipe() {
    const std::optional<double> mass = checkRecipeForSave(*model_);
    if (!mass) return false;
    const QString path =
        chooseRecipe(this, QFileDialog::AcceptSave, QString::fromStdString(model_->finalCompound().text()));
    if (path.isEmpty()) return false;
    if (writeRecipeFile(*model_, localPath(path), *mass) != RecipeResult::Done) return false;
    QApplication::beep();
    return true;
}

}  // namespace qv::app
