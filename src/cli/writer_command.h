#pragma once
// quorvex-cli report --writer FILE: every report typed into one new document
// of a private headless office, stored as FILE when all are in.

#include <memory>
#include <string>

#include "output/word_automation.h"

#include "form/corrections.h"

namespace qv::cli {

class RecipeSession;

inline constexpr int kExitNoOffice = 5;      // no office installed, or none would start
inline constexpr int kExitWriterFailed = 6;  // the office failed part-way, or storing failed

class WriterReport {
public:
    explicit WriterReport(std::string file);
    ~WriterReport();

    // Finds the office; false (after saying why) when there is none to use.
    bool ready();
    // Types the session's report; the recipe's exit status.
    int type(RecipeSession& session, double grams, bool difference, const Corrections* corrections = nullptr);
    // Stores the document when a report reached it and ends the office; the
    // exit status of that step.
    int finish();

private:
    std::string file_;
    std::unique_ptr<WordOffice> office_;
    std::string document_;
    bool failed_ = false;
};

}  // namespace qv::cli
