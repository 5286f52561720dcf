// The bench commands of the main window: the weighing sheet after Output,
// the weighing log, the balance's settings, and the minimum-weight notice
// that follows an Output.

#include "app/bench_settings.h"
#include "app/log_dialog.h"
#include "app/main_window.h"
#include "app/weighing_sheet.h"
#include "output/output_grams.h"
#include "output/weighing.h"
#include "plan/minimum_weight.h"
#include "plan/weighing_plan.h"
#include "recipe/recipe_file.h"

namespace qv::app {

namespace {

// The plan for the "Gram" field, or nothing after the status box says why.
std::optional<WeighingPlan> weighingPlan(Model& model, double& grams) {
    const GramCheck check = readOutputGrams(model.gramsText(), grams);
    if (check != GramCheck::Ok) {
        model.setStatus(gramCheckMessage(check));
        return std::nullopt;
    }
    std::optional<WeighingPlan> plan = makeWeighingPlan(model, grams, model.corrections());
    if (!plan) model.setStatus(kZeroFinalMassText);
    return plan;
}

}  // namespace

void MainWindow::openWeighingSheet() {
    double grams = 0.0;
    std::optional<WeighingPlan> plan = weighingPlan(*model_, grams);
    if (!plan) return;
    auto* sheet = new WeighingSheet(std::move(*plan), QString::fromStdString(model_->sampleTag()),
                                    recipeText(*model_, grams), readBenchSettings(), {}, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setObjectName(QStringLiteral("weighingSheet"));
    sheet->show();
}

void MainWindow::openWeighingLog() {
    LogDialog log({}, this);
    log.exec();
}

void MainWindow::editBalanceSettings() {
    BalanceSettingsDialog dialog(readBenchSettings(), this);
    if (dialog.exec() == QDialog::Accepted) writeBenchSettings(dialog.settings());
}

void MainWindow::noteMinimumWeight(double grams) {
    const std::optional<WeighingPlan> plan = makeWeighingPlan(*model_, grams, model_->corrections());
    if (!plan) return;
    const std::string notice =
        minimumWeightNotice(*plan, checkMinimumWeight(*plan, readBenchSettings().balance));
    if (notice.empty()) return;
    const std::string status = model_->status();
    model_->setStatus(status.empty() ? notice : status + "\n" + notice);
}

}  // namespace qv::app
