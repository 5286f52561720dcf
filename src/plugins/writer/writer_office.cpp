// WordOffice over LibreOffice Writer, through UNO across a named pipe.
//
// Every remote call runs under a watchdog: when the office does not answer in
// time the pipe is closed, which fails the pending call and every later one,
// so a stuck office costs the caller one bounded wait and a failure message.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <rtl/textcvt.h>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/ustring.hxx>

#include "output/word_automation.h"
#include "output/word_plugin.h"
#include "watchdog.h"

namespace qv {
namespace {

namespace uno = css::uno;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using Clock = std::chrono::steady_clock;
using rtl::OString;
using rtl::OUString;

// Report texts are single-byte; UTF-8 is taken as such when it is valid.
OUString toOUString(std::string_view text) {
    const sal_uInt32 strict = RTL_TEXTTOUNICODE_FLAGS_UNDEFINED_ERROR |
                              RTL_TEXTTOUNICODE_FLAGS_MBUNDEFINED_ERROR |
                              RTL_TEXTTOUNICODE_FLAGS_INVALID_ERROR;
    rtl_uString* out = nullptr;
    if (rtl_convertStringToUString(&out, text.data(), static_cast<sal_Int32>(text.size()),
                                   RTL_TEXTENCODING_UTF8, strict))
        return OUString(out, SAL_NO_ACQUIRE);
    if (out) rtl_uString_release(out);
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_ISO_8859_1);
}

std::string toUtf8(const OUString& text) {
    const OString bytes = OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), bytes.getLength());
}

bool isExecutable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

// QV_SOFFICE names the office program outright (empty: none); else the
// search path, then the usual install folder.
std::string sofficePath() {
    if (const char* forced = std::getenv("QV_SOFFICE")) return isExecutable(forced) ? forced : "";
    if (const char* path = std::getenv("PATH")) {
        std::string dirs = path;
        std::size_t start = 0;
        while (start <= dirs.size()) {
            const std::size_t end = std::min(dirs.find(':', start), dirs.size());
            const std::string candidate = dirs.substr(start, end - start) + "/soffice";
            if (end > start && isExecutable(candidate)) return candidate;
            start = end + 1;
        }
    }
    const std::string installed = std::string(QV_LO_PROGRAM) + "/soffice";
    return isExecutable(installed) ? installed : "";
}

// The local end of the bridge; the plain desktop bootstrap would look for a
// display and hang without one.
Reference<uno::XComponentContext> localContext() {
    static const Reference<uno::XComponentContext> context = [] {
        // The bridge writes to the pipe with plain send(): an office that
        // restarts or dies mid-call must fail that call, not end our process.
        struct sigaction pipeAction {};
        if (sigaction(SIGPIPE, nullptr, &pipeAction) == 0 && pipeAction.sa_handler == SIG_DFL)
            signal(SIGPIPE, SIG_IGN);
        setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" QV_LO_PROGRAM "/fundamentalrc", 0);
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

// One bridge to the office and what every automation object shares.
class Link {
public:
    Link(Reference<css::connection::XConnection> connection, int callSeconds, bool hidden,
         std::shared_ptr<std::atomic<bool>> cancelled)
        : hidden(hidden),
          cancelled_(std::move(cancelled)),
          connection_(std::move(connection)),
          callSeconds_(callSeconds),
          watchdog_([c = connection_] {
              try {
                  c->close();
              } catch (...) {}
          }) {}

    // Runs one exchange with the office under the watchdog, as a WordError
    // when it fails.
    // Cleaning up goes on after a cancel: not cancellable.
    template <class F>
    decltype(auto) guarded(F&& f, bool cancellable = true) {
        if (watchdog_.expired()) throw WordError("the office stopped answering");
        if (cancellable && *cancelled_) throw WordError("cancelled");
        struct Armed {
            Watchdog& w;
            ~Armed() { w.disarm(); }
        } armed{watchdog_};
        watchdog_.arm(std::chrono::seconds(callSeconds_));
        try {
            return f();
        } catch (const uno::Exception& e) {
            throw WordError(watchdog_.expired() ? std::string("the office did not answer in time")
                                                : toUtf8(e.Message));
        }
    }

    ~Link() {
        try {
            guarded(
                [&] {
                    if (Reference<css::lang::XComponent> bridge{bridge_, UNO_QUERY}; bridge.is())
                        bridge->dispose();
                },
                false);
        } catch (...) {}
    }

    void open(const Reference<uno::XComponentContext>& local) {
        guarded([&] {
            bridge_ = css::bridge::BridgeFactory::create(local)->createBridge(OUString(), "urp", connection_,
                                                                              nullptr);
            Reference<uno::XComponentContext> remote(bridge_->getInstance("StarOffice.ComponentContext"),
                                                     UNO_QUERY_THROW);
            desktop = css::frame::Desktop::create(remote);
        });
    }

    Reference<css::frame::XDesktop2> desktop;
    Reference<css::frame::XModel> active;  // set by Document.Activate
    const bool hidden;                     // a private office: documents without windows

private:
    std::shared_ptr<std::atomic<bool>> cancelled_;
    Reference<css::connection::XConnection> connection_;
    Reference<css::bridge::XBridge> bridge_;
    int callSeconds_;
    Watchdog watchdog_;
};

using LinkPtr = std::shared_ptr<Link>;

Reference<css::text::XTextRange> range(const Reference<css::text::XTextCursor>& cursor) {
    return Reference<css::text::XTextRange>(cursor.get());
}

std::vector<Reference<css::frame::XModel>> textDocuments(Link& link) {
    std::vector<Reference<css::frame::XModel>> found;
    Reference<css::container::XEnumeration> all = link.desktop->getComponents()->createEnumeration();
    while (all->hasMoreElements()) {
        Reference<css::lang::XServiceInfo> info(all->nextElement(), UNO_QUERY);
        Reference<css::frame::XModel> model(info, UNO_QUERY);
        if (info.is() && model.is() && info->supportsService("com.sun.star.text.TextDocument"))
            found.push_back(model);
    }
    return found;
}

// The stored file's address, else the title the office shows ("Untitled 1").
OUString documentName(const Reference<css::frame::XModel>& model) {
    const OUString url = model->getURL();
    if (!url.isEmpty()) return url;
    return Reference<css::frame::XTitle>(model, UNO_QUERY_THROW)->getTitle();
}

struct FontState {
    OUString name = "Times New Roman";
    float height = 12.0f;
    bool subscript = false;
};

class WriterFont : public WordFont {
public:
    WriterFont(LinkPtr link, std::shared_ptr<FontState> state)
        : link_(std::move(link)), state_(std::move(state)) {}
    // Applied to each run as it is typed: attributes set on a collapsed
    // cursor do not reliably carry over to inserted text.
    void setName(std::string_view face) override { state_->name = toOUString(face); }
    void setSize(float points) override { state_->height = points; }
    void setSubscript(bool on) override { state_->subscript = on; }

private:
    LinkPtr link_;
    std::shared_ptr<FontState> state_;
};

class WriterSelection : public WordSelection {
public:
    WriterSelection(LinkPtr link, Reference<css::text::XTextViewCursor> cursor)
        : link_(std::move(link)), cursor_(std::move(cursor)) {}

    std::unique_ptr<WordFont> font() override { return std::make_unique<WriterFont>(link_, font_); }

    void typeText(std::string_view text) override {
        const OUString all = toOUString(text);
        // goLeft counts in 16-bit steps.
        for (sal_Int32 at = 0; at < all.getLength(); at += kChunk)
            insert(all.copy(at, std::min<sal_Int32>(kChunk, all.getLength() - at)));
    }

    void typeParagraph() override {
        link_->guarded([&] {
            Reference<css::text::XText> text = cursor_->getText();
            Reference<css::text::XTextCursor> at = text->createTextCursorByRange(cursor_->getStart());
            text->insertControlCharacter(range(at), css::text::ControlCharacter::PARAGRAPH_BREAK, false);
            cursor_->gotoRange(at->getEnd(), false);
        });
    }

private:
    static constexpr sal_Int32 kChunk = 8000;

    void insert(const OUString& run) {
        link_->guarded([&] {
            Reference<css::text::XText> text = cursor_->getText();
            Reference<css::text::XTextCursor> at = text->createTextCursorByRange(cursor_->getStart());
            text->insertString(range(at), run, false);
            // A line feed becomes a line break, one step like any character.
            at->goLeft(static_cast<sal_Int16>(run.getLength()), true);
            const FontState& f = *font_;
            Reference<css::beans::XMultiPropertySet> props(at, UNO_QUERY_THROW);
            // Sorted by name, as the multiple setter wants them.
            const OUString names[] = {"CharEscapement", "CharEscapementHeight", "CharFontName", "CharHeight"};
            const uno::Any values[] = {uno::Any(sal_Int16(f.subscript ? -33 : 0)),
                                       uno::Any(sal_Int8(f.subscript ? 58 : 100)), uno::Any(f.name),
                                       uno::Any(f.height)};
            props->setPropertyValues(uno::Sequence<OUString>(names, 4), uno::Sequence<uno::Any>(values, 4));
            // The office's own subscript, which a .docx keeps as such.
            if (f.subscript)
                Reference<css::beans::XPropertySet>(at, UNO_QUERY_THROW)
                    ->setPropertyValue("CharAutoEscapement", uno::Any(true));
            cursor_->gotoRange(at->getEnd(), false);
        });
    }

    LinkPtr link_;
    Reference<css::text::XTextViewCursor> cursor_;
    std::shared_ptr<FontState> font_ = std::make_shared<FontState>();
};

class WriterDocument : public WordDocument {
public:
    WriterDocument(LinkPtr link, Reference<css::frame::XModel> model)
        : link_(std::move(link)), model_(std::move(model)) {}
    std::string name() override {
        return link_->guarded([&] { return toUtf8(documentName(model_)); });
    }
    void activate() override {
        link_->guarded([&] {
            if (!link_->hidden) model_->getCurrentController()->getFrame()->activate();
        });
        link_->active = model_;
    }

private:
    LinkPtr link_;
    Reference<css::frame::XModel> model_;
};

class WriterDocuments : public WordDocuments {
public:
    explicit WriterDocuments(LinkPtr link) : link_(std::move(link)) {}
    int count() override {
        return link_->guarded([&] { return static_cast<int>(textDocuments(*link_).size()); });
    }
    std::unique_ptr<WordDocument> item(int index) override {
        Reference<css::frame::XModel> model = link_->guarded([&] {
            const auto all = textDocuments(*link_);
            if (index < 1 || index > static_cast<int>(all.size()))
                throw WordError("no document " + std::to_string(index));
            return all[index - 1];
        });
        return std::make_unique<WriterDocument>(link_, model);
    }
    std::unique_ptr<WordDocument> add() override {
        Reference<css::frame::XModel> model = link_->guarded([&] {
            css::beans::PropertyValue hidden;
            hidden.Name = "Hidden";
            hidden.Value <<= link_->hidden;
            Reference<css::frame::XComponentLoader> loader(link_->desktop, UNO_QUERY_THROW);
            return Reference<css::frame::XModel>(
                loader->loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                             uno::Sequence<css::beans::PropertyValue>(&hidden, 1)),
                UNO_QUERY_THROW);
        });
        return std::make_unique<WriterDocument>(link_, model);
    }

private:
    LinkPtr link_;
};

class WriterApplication : public WordApplication {
public:
    explicit WriterApplication(LinkPtr link) : link_(std::move(link)) {}

    std::unique_ptr<WordDocuments> documents() override { return std::make_unique<WriterDocuments>(link_); }

    std::unique_ptr<WordSelection> selection() override {
        Reference<css::text::XTextViewCursor> cursor = link_->guarded([&] {
            Reference<css::frame::XModel> model = link_->active;
            if (!model.is()) model.set(link_->desktop->getCurrentComponent(), UNO_QUERY_THROW);
            Reference<css::text::XTextViewCursorSupplier> views(model->getCurrentController(),
                                                                UNO_QUERY_THROW);
            return views->getViewCursor();
        });
        return std::make_unique<WriterSelection>(link_, cursor);
    }

    void setVisible(bool visible) override {
        if (link_->hidden) return;  // nobody to show a private office to
        link_->guarded([&] {
            Reference<css::frame::XModel> model = link_->active;
            if (!model.is()) model.set(link_->desktop->getCurrentComponent(), UNO_QUERY_THROW);
            Reference<css::awt::XWindow> window =
                model->getCurrentController()->getFrame()->getContainerWindow();
            window->setVisible(visible);
            if (Reference<css::awt::XTopWindow> top{window, UNO_QUERY}; top.is() && visible) top->toFront();
        });
    }

    void saveDocument(std::string_view name, const std::string& path) override {
        const std::filesystem::path file = std::filesystem::absolute(path);
        std::string ext = file.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        OUString url;
        if (osl::FileBase::getFileURLFromSystemPath(toOUString(file.string()), url) != osl::FileBase::E_None)
            throw WordError("cannot name " + path + " for the office");
        link_->guarded([&] {
            const OUString wanted = toOUString(name);
            for (const Reference<css::frame::XModel>& model : textDocuments(*link_)) {
                if (documentName(model) != wanted) continue;
                css::beans::PropertyValue filter;
                filter.Name = "FilterName";
                filter.Value <<= ext == ".docx" ? OUString("MS Word 2007 XML") : OUString("writer8");
                Reference<css::frame::XStorable>(model, UNO_QUERY_THROW)
                    ->storeToURL(url, uno::Sequence<css::beans::PropertyValue>(&filter, 1));
                Reference<css::util::XCloseable>(model, UNO_QUERY_THROW)->close(true);
                return;
            }
            throw WordError("no open document " + std::string(name));
        });
    }

private:
    LinkPtr link_;
};

class WriterOffice : public WordOffice {
public:
    explicit WriterOffice(const WordOfficeOptions& options) : options_(options), soffice_(sofficePath()) {
        pipe_ = options.pipeName.empty() ? "quorvex_office_" + std::to_string(getuid()) : options.pipeName;
    }

    ~WriterOffice() override {
        if (child_ > 0) stopPrivateOffice();
        if (!profile_.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(profile_, ec);
        }
    }

    bool installed() const override { return !soffice_.empty(); }

    // A desktop office has a window system plugin beside its program; the
    // GUI-less packages carry only the headless one (svp) or none.
    bool showsWindows() const override {
        std::error_code ec;
        const std::filesystem::path program = std::filesystem::canonical(soffice_, ec);
        if (soffice_.empty() || ec) return false;
        for (const auto& file : std::filesystem::directory_iterator(program.parent_path(), ec)) {
            const std::string name = file.path().filename().string();
            if (name.rfind("libvclplug_", 0) == 0 && name.find("svp") == std::string::npos &&
                name.find("headless") == std::string::npos)
                return true;
        }
        return false;
    }

    void cancel() override { *cancelled_ = true; }

    std::unique_ptr<WordApplication> connect() override {
        *cancelled_ = false;
        if (!options_.privateOffice || child_ > 0) {
            if (LinkPtr link = tryLink()) return std::make_unique<WriterApplication>(link);
        }
        if (soffice_.empty() || !start()) return nullptr;
        // Bounded: an office that cannot start must not hold the caller.
        const auto deadline = Clock::now() + std::chrono::seconds(options_.startSeconds);
        while (Clock::now() < deadline && !*cancelled_) {
            if (LinkPtr link = tryLink()) return std::make_unique<WriterApplication>(link);
            if (child_ > 0 && waitpid(child_, nullptr, WNOHANG) == child_) {
                child_ = 0;
                return nullptr;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return nullptr;
    }

private:
    // Null while nothing answers on the pipe; a stuck office is cut off.
    LinkPtr tryLink() {
        Reference<uno::XComponentContext> local;
        Reference<css::connection::XConnection> connection;
        try {
            local = localContext();
            connection = css::connection::Connector::create(local)->connect("pipe,name=" + toOUString(pipe_));
        } catch (const uno::Exception&) {
            return nullptr;
        }
        auto link =
            std::make_shared<Link>(connection, options_.callSeconds, options_.privateOffice, cancelled_);
        try {
            link->open(local);
        } catch (const WordError&) {
            return nullptr;
        }
        return link;
    }

    bool start() {
        std::vector<std::string> args = {soffice_};
        if (options_.privateOffice) {
            if (!profile_.empty()) {  // of an office that died
                std::error_code ec;
                std::filesystem::remove_all(profile_, ec);
            }
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorvex-office-XXXXXX";
            if (!mkdtemp(pattern.data())) return false;
            profile_ = pattern;
            OUString url;
            osl::FileBase::getFileURLFromSystemPath(toOUString(profile_), url);
            pipe_ = "quorvex_" + std::filesystem::path(profile_).filename().string();
            args.insert(args.end(), {"--headless", "--invisible", "--nodefault", "--nolockcheck",
                                     "-env:UserInstallation=" + toUtf8(url)});
        }
        args.insert(args.end(), {"--accept=pipe,name=" + pipe_ + ";urp;", "--norestore", "--nologo"});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);

        const pid_t pid = fork();
        if (pid < 0) return false;
        if (pid == 0) {
            // Only async-signal-safe calls from here on.
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
            }
            if (options_.privateOffice) {
                setpgid(0, 0);  // so that it can be ended as a group
            } else {
                // The user's office outlives us and is nobody's zombie.
                setsid();
                if (fork() != 0) _exit(0);
            }
            execv(argv[0], argv.data());
            _exit(127);
        }
        if (options_.privateOffice) {
            child_ = pid;
        } else {
            waitpid(pid, nullptr, 0);
        }
        return true;
    }

    bool reaped(std::chrono::milliseconds within) {
        const auto deadline = Clock::now() + within;
        do {
            if (waitpid(child_, nullptr, WNOHANG) != 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (Clock::now() < deadline);
        return false;
    }

    void stopPrivateOffice() {
        *cancelled_ = false;  // ending it is never cancelled
        if (LinkPtr link = tryLink()) {
            try {
                link->guarded([&] { link->desktop->terminate(); }, false);
            } catch (const WordError&) {
                // The office going away mid-call is the expected answer.
            }
        }
        if (!reaped(std::chrono::seconds(15))) {
            kill(-child_, SIGTERM);
            if (!reaped(std::chrono::seconds(5))) {
                kill(-child_, SIGKILL);
                waitpid(child_, nullptr, 0);
            }
        }
        child_ = 0;
    }

    WordOfficeOptions options_;
    std::string soffice_;
    std::string pipe_;
    std::string profile_;
    pid_t child_ = 0;
    // Shared with the links, which outlive a connect().
    std::shared_ptr<std::atomic<bool>> cancelled_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace
}  // namespace qv

extern "C" __attribute__((visibility("default"))) qv::WordOffice* qv_create_word_office(
    const qv::WordOfficeOptions* options) {
    try {
        return new qv::WriterOffice(options ? *options : qv::WordOfficeOptions{});
    } catch (...) {
        return nullptr;
    }
}
