#include "support/recording_word.h"

namespace qv::test {
namespace {

class Font : public WordFont {
public:
    explicit Font(RecordingWord& w) : w_(w) {}
    void setName(std::string_view face) override { w_.call("Font.Name=" + std::string(face)); }
    void setSize(float points) override { w_.call("Font.Size=" + std::to_string(points)); }
    void setSubscript(bool on) override {
        w_.call(on ? "Font.Subscript=1" : "Font.Subscript=0");
        w_.subscript = on;
    }

private:
    RecordingWord& w_;
};

class Selection : public WordSelection {
public:
    explicit Selection(RecordingWord& w) : w_(w) {}
    std::unique_ptr<WordFont> font() override {
        w_.call("Selection.Font");
        return std::make_unique<Font>(w_);
    }
    void typeText(std::string_view text) override {
        w_.call("TypeText " + std::string(text));
        w_.type(w_.subscript ? "_{" + std::string(text) + "}" : std::string(text));
    }
    void typeParagraph() override {
        w_.call("TypeParagraph");
        w_.type("\xC2\xB6\n");
    }

private:
    RecordingWord& w_;
};

class Document : public WordDocument {
public:
    Document(RecordingWord& w, int index) : w_(w), index_(index) {}
    std::string name() override {
        w_.call("Document.Name");
        return w_.documents.at(index_).name;
    }
    void activate() override {
        w_.call("Document.Activate");
        w_.active = index_;
    }

private:
    RecordingWord& w_;
    int index_;
};

class Documents : public WordDocuments {
public:
    explicit Documents(RecordingWord& w) : w_(w) {}
    int count() override {
        w_.call("Documents.Count");
        return static_cast<int>(w_.documents.size());
    }
    std::unique_ptr<WordDocument> item(int index) override {
        w_.call("Documents.Item " + std::to_string(index));
        return std::make_unique<Document>(w_, index - 1);
    }
    std::unique_ptr<WordDocument> add() override {
        w_.call("Documents.Add");
        w_.documents.push_back({"Document" + std::to_string(w_.documents.size() + 1), ""});
        return std::make_unique<Document>(w_, static_cast<int>(w_.documents.size()) - 1);
    }

private:
    RecordingWord& w_;
};

class Application : public WordApplication {
public:
    explicit Application(RecordingWord& w) : w_(w) {}
    std::unique_ptr<WordDocuments> documents() override {
        w_.call("Application.Documents");
        return std::make_unique<Documents>(w_);
    }
    std::unique_ptr<WordSelection> selection() override {
        w_.call("Application.Selection");
        return std::make_unique<Selection>(w_);
    }
    void setVisible(bool visible) override {
        w_.call(visible ? "Application.Visible=1" : "Application.Visible=0");
        w_.visible = visible;
    }
    void saveDocument(std::string_view name, const std::string& path) override {
        w_.call("Save " + std::string(name) + " " + path);
    }

private:
    RecordingWord& w_;
};

}  // namespace

std::unique_ptr<WordApplication> RecordingWord::connect() {
    log.push_back(reachable ? "Connect" : "Connect: none");
    if (!reachable) return nullptr;
    return std::make_unique<Application>(*this);
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
