#include "support/recording_word.h"

namespace qv::test {
namespace {

// Every object of the automation interface at once; each hands out another
// of itself.
struct Part : WordFont, WordSelection, WordDocument, WordDocuments, WordApplication {
    Part(RecordingWord& w, int index = -1) : w(w), index(index) {}
    RecordingWord& w;
    int index;  // of a document

    void setName(std::string_view face) override { w.call("Font.Name=" + std::string(face)); }
    void setSize(float points) override { w.call("Font.Size=" + std::to_string(points)); }
    void setSubscript(bool on) override {
        w.call(on ? "Font.Subscript=1" : "Font.Subscript=0");
        w.subscript = on;
    }

    std::unique_ptr<WordFont> font() override {
        w.call("Selection.Font");
        return std::make_unique<Part>(w);
    }
    void typeText(std::string_view text) override {
        w.call("TypeText " + std::string(text));
        w.type(w.subscript ? "_{" + std::string(text) + "}" : std::string(text));
    }
    void typeParagraph() override {
        w.call("TypeParagraph");
        w.type("\xC2\xB6\n");
    }

    std::string name() override {
        w.call("Document.Name");
        return w.documents.at(index).name;
    }
    void activate() override {
        w.call("Document.Activate");
        w.active = index;
    }

    int count() override {
        w.call("Documents.Count");
        return static_cast<int>(w.documents.size());
    }
    std::unique_ptr<WordDocument> item(int index) override {
        w.call("Documents.Item " + std::to_string(index));
        return std::make_unique<Part>(w, index - 1);
    }
    std::unique_ptr<WordDocument> add() override {
        w.call("Documents.Add");
        w.documents.push_back({"Document" + std::to_string(w.documents.size() + 1), ""});
        return std::make_unique<Part>(w, static_cast<int>(w.documents.size()) - 1);
    }

    std::unique_ptr<WordDocuments> documents() override {
        w.call("Application.Documents");
        return std::make_unique<Part>(w);
    }
    std::unique_ptr<WordSelection> selection() override {
        w.call("Application.Selection");
        return std::make_unique<Part>(w);
    }
    void setVisible(bool visible) override {
        w.call(visible ? "Application.Visible=1" : "Application.Visible=0");
        w.visible = visible;
    }
    void saveDocument(std::string_view name, const std::string& path) override {
        w.call("Save " + std::string(name) + " " + path);
    }
};

}  // namespace

std::unique_ptr<WordApplication> RecordingWord::connect() {
    log.push_back(reachable ? "Connect" : "Connect: none");
    if (!reachable) return nullptr;
    return std::make_unique<Part>(*this);
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
