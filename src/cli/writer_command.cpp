#include "cli/writer_command.h"

#include <cstdio>

#include "cli/cli_common.h"
#include "cli/recipe_session.h"
#include "output/weighing.h"
#include "output/word_plugin.h"
#include "output/word_report.h"

namespace qv::cli {
namespace {

void complain(const std::string& text) { std::fprintf(stderr, "quorvex-cli report: %s\n", text.c_str()); }

}  // namespace

WriterReport::WriterReport(std::string file) : file_(std::move(file)) {}

WriterReport::~WriterReport() = default;

bool WriterReport::ready() {
    WordOfficeOptions options;
    options.privateOffice = true;
    std::string why;
    office_ = loadWordOffice(options, &why);
    if (!office_) {
        complain("the office plugin is missing (" + why + "); no Writer document written");
        return false;
    }
    if (!office_->installed()) {
        complain("LibreOffice (soffice) is not installed; no Writer document written");
        return false;
    }
    return true;
}

int WriterReport::type(RecipeSession& session, double grams, bool difference,
                       const Corrections* corrections) {
    if (failed_) return kExitWriterFailed;
    const WordReportOutcome outcome = writeWordReport(
        session.model, *office_, document_, session.model.sampleTag(), grams, difference, corrections);
    switch (outcome) {
    case WordReportOutcome::Typed: return kExitOk;
    case WordReportOutcome::NoAmounts:
        session.say(computeWeighingAmounts(session.model, grams).refusal);
        return kExitNoReport;
    case WordReportOutcome::NoOffice:
        complain("LibreOffice did not start; no Writer document written");
        failed_ = true;
        return kExitNoOffice;
    case WordReportOutcome::Failed: session.say(std::string(kWordFailedText)); break;
    }
    failed_ = true;
    return kExitWriterFailed;
}

int WriterReport::finish() {
    int status = kExitOk;
    if (!failed_ && !document_.empty()) {
        try {
            std::unique_ptr<WordApplication> app = office_->connect();
            if (!app) throw WordError("the office went away");
            app->saveDocument(document_, file_);
        } catch (const std::exception& e) {
            complain("cannot store " + file_ + ": " + e.what());
            status = kExitWriterFailed;
        }
    }
    office_.reset();  // ends the private office
    return status;
}

}  // namespace qv::cli
