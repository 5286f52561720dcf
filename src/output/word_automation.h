#pragma once
// The word processor as the report sees it: a small automation object model
// (application, document collection, document, selection, font). The office
// plugin implements it over a real office; tests record the calls.
//
// Every member may throw WordError; the report guards the whole sequence.
// Objects handed out stay valid while the application object lives.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qv {

class WordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WordFont {
public:
    virtual ~WordFont() = default;
    virtual void setName(std::string_view face) = 0;
    virtual void setSize(float points) = 0;
    // Applies to the text typed next.
    virtual void setSubscript(bool on) = 0;
};

class WordSelection {
public:
    virtual ~WordSelection() = default;
    virtual std::unique_ptr<WordFont> font() = 0;
    // Inserts at the selection and moves the selection after the text.
    virtual void typeText(std::string_view text) = 0;
    virtual void typeParagraph() = 0;
};

class WordDocument {
public:
    virtual ~WordDocument() = default;
    // Identifies the document among the open ones.
    virtual std::string name() = 0;
    // Makes it the document the application's selection belongs to.
    virtual void activate() = 0;
};

class WordDocuments {
public:
    virtual ~WordDocuments() = default;
    virtual int count() = 0;
    virtual std::unique_ptr<WordDocument> item(int index) = 0;  // from 1
    virtual std::unique_ptr<WordDocument> add() = 0;            // a new empty document
};

class WordApplication {
public:
    virtual ~WordApplication() = default;
    virtual std::unique_ptr<WordDocuments> documents() = 0;
    virtual std::unique_ptr<WordSelection> selection() = 0;
    virtual void setVisible(bool visible) = 0;
    // Stores the named open document as a file (the format follows the
    // extension) and closes it.
    virtual void saveDocument(std::string_view name, const std::string& path) = 0;
};

// Reaches an office: the running one first, else one it starts.
class WordOffice {
public:
    virtual ~WordOffice() = default;
    // Whether an office program is installed at all.
    virtual bool installed() const = 0;
    // Null when no office is running and none could be started in time.
    virtual std::unique_ptr<WordApplication> connect() = 0;
    // Whether the installed office can show its documents in a desktop window
    // (it has a window system plugin, not only the headless one).
    virtual bool showsWindows() const { return installed(); }
    // From any thread: a connect() or call under way gives up soon (connect
    // answers null, a call throws WordError). The next connect() starts afresh.
    virtual void cancel() {}
};

}  // namespace qv
