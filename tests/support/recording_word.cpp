#include "support/recording_word.h"

namespace qv::test {
namespace {

// Every object of the automation interface at once; each hands out another
// of itself. `index` is a document's.
struct Part : WordFont, WordSelection, WordDocument, WordDocuments, WordApplication {
    Part(RecordingWord& w, int index = -1) : w(w), index(index) {}
    RecordingWord& w;
    int index;
    RecordingWord& log(std::string line) { return w.call(std::move(line)), w; }
    std::unique_ptr<Part> part(std::string line, int at = -1) {
        log(std::move(line));
        return std::make_unique<Part>(w, at);
    }

    void setName(std::string_view face) override { log("Font.Name=" + std::string(face)); }
    void setSize(float points) override { log("Font.Size=" + std::to_string(points)); }
    void setSubscript(bool on) override { log(on ? "Font.Subscript=1" : "Font.Subscript=0").subscript = on; }
    std::unique_ptr<WordFont> font() override { return part("Selection.Font"); }
    void typeText(std::string_view text) override {
        log("TypeText " + std::string(text))
            .type(w.subscript ? "_{" + std::string(text) + "}" : std::string(text));
    }
    void typeParagraph() override { log("TypeParagraph").type("\xC2\xB6\n"); }
    std::string name() override { return log("Document.Name").documents.at(index).name; }
    void activate() override { log("Document.Activate").active = index; }
    int count() override { return static_cast<int>(log("Documents.Count").documents.size()); }
    std::unique_ptr<WordDocument> item(int i) override {
        return part("Documents.Item " + std::to_string(i), i - 1);
    }
    std::unique_ptr<WordDocument> add() override {
        log("Documents.Add").documents.push_back({"Document" + std::to_string(w.documents.size() + 1), ""});
        return std::make_unique<Part>(w, static_cast<int>(w.documents.size()) - 1);
    }
    std::unique_ptr<WordDocuments> documents() override { return part("Application.Documents"); }
    std::unique_ptr<WordSelection> selection() override { return part("Application.Selection"); }
    void setVisible(bool on) override {
        log(on ? "Application.Visible=1" : "Application.Visible=0").visible = on;
    }
    void saveDocument(std::string_view name, const std::string& path) override {
        log("Save " + std::string(name) + " " + path);
    }
};

}  // namespace

std::unique_ptr<WordApplication> RecordingWord::connect() {
    log.push_back(reachable ? "Connect" : "Connect: none");
    return reachable ? std::make_unique<Part>(*this) : nullptr;
}

void RecordingWord::call(std::string line) {
    log.push_back(std::move(line));
    if (failAtCall > 0 && static_cast<int>(log.size()) == failAtCall)
        throw WordError("recorded failure at " + log.back());
}

void RecordingWord::type(const std::string& text) {
    if (active < 0) throw WordError("typing without an active document");
    documents.at(active).text += text;
}

}  // namespace qv::test
