#pragma once
// A word processor that only writes down what it is asked: every automation
// call as one log line, and the typed text per document with subscript runs
// shown as _{...} and paragraphs as a pilcrow.

#include <vector>

#include "output/word_automation.h"

namespace qv::test {

struct RecordedDocument {
    std::string name;
    std::string text;
};

class RecordingWord : public WordOffice {
public:
    bool installed() const override { return true; }
    bool showsWindows() const override { return windows; }
    std::unique_ptr<WordApplication> connect() override;

    bool reachable = true;
    bool windows = true;  // false: a GUI-less office
    int failAtCall = 0;   // the n-th call (from 1) throws; 0 never
    std::vector<RecordedDocument> documents;
    int active = -1;  // index into documents
    bool subscript = false, visible = false;
    std::vector<std::string> log;

    // Logs the call; throws when it is the one chosen to fail.
    void call(std::string line);
    void type(const std::string& text);
};

}  // namespace qv::test
