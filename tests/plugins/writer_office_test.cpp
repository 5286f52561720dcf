#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "odt_text.h"
#include "output/word_plugin.h"
#include "output/word_report.h"
#include "support/recipe_scratch.h"
#include "support/recording_word.h"
#include "support/run_program.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr std::string_view kRecipe =
    "-2 1100\r\n-1 S1\r\n0 10.00000 1.00000 BaTiO3\r\n1 0 0.00000 BaCO3\r\n2 0 0.00000 TiO2\r\n";

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class WriterOffice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.enterBariumTitanate()); }
    void needOffice() {
        std::string why;
        const std::unique_ptr<WordOffice> office = loadWordOffice({}, &why);
        ASSERT_TRUE(office) << why;
        if (!office->installed()) GTEST_SKIP() << "soffice not found: no office to drive";
    }
    // The two reports as the recording word processor keeps them, with the
    // end of the document's last paragraph.
    std::string expectedTwoReports(bool second) {
        test::RecordingWord fake;
        std::string name;
        writeWordReport(f.model, f.form, fake, name, 10, true);
        if (second) writeWordReport(f.model, f.form, fake, name, 2.5, false);
        return fake.documents.at(0).text + "\xC2\xB6\n";
    }
    void screenshot(const std::string& document) {
        const char* dir = std::getenv("QV_SCREENSHOTS");
        if (!dir) return;
        std::filesystem::create_directories(dir);
        EXPECT_NE(test::renderPng(document, dir), "") << "no PNG of " << document;
    }

    test::TestForm f{test::kBaTiCOElementFile};
    test::TempDir dir;
};

TEST_F(WriterOffice, TwoReportsCollectInOneDocumentWithSubscriptCounts) {
    needOffice();
    if (IsSkipped()) return;
    WordOfficeOptions options;
    options.privateOffice = true;
    std::unique_ptr<WordOffice> office = loadWordOffice(options);
    ASSERT_TRUE(office);
    std::string name;
    ASSERT_EQ(writeWordReport(f.model, f.form, *office, name, 10, true), WordReportOutcome::Typed);
    const std::string first = name;
    ASSERT_EQ(writeWordReport(f.model, f.form, *office, name, 2.5, false), WordReportOutcome::Typed);
    EXPECT_EQ(name, first);
    EXPECT_TRUE(f.form.messages.empty());

    const std::string path = (dir.path() / "two reports.odt").string();
    office->connect()->saveDocument(name, path);
    office.reset();
    EXPECT_EQ(test::odtText(path), expectedTwoReports(true));
    screenshot(path);
}

TEST_F(WriterOffice, CommandLineStoresAnOdt) {
    needOffice();
    if (IsSkipped()) return;
    const std::string atoms = dir.write("atoms.lst", test::kBaTiCOElementFile);
    const std::string recipe = dir.write("bt.qvs", kRecipe);
    const std::string out = (dir.path() / "bt.odt").string();
    const auto run = test::runCli({"report", "--atoms", atoms, "--writer", out, recipe});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Quorvex could obtain an answer for you.\n");
    EXPECT_EQ(test::odtText(out), expectedTwoReports(false));
    screenshot(out);
}

TEST_F(WriterOffice, NoOfficeToUse) {
    // Not installed: the command line says so before it loads any recipe.
    {
        ScopedEnv none("QV_SOFFICE", "");
        const std::string out = (dir.path() / "x.odt").string();
        const auto run = test::runCli({"report", "--writer", out, dir.write("bt.qvs", kRecipe)});
        EXPECT_EQ(run.exitCode, 5);
        EXPECT_EQ(run.err,
                  "quorvex-cli report: LibreOffice (soffice) is not installed; no Writer document written\n");
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_FALSE(wordAvailable());
    }
    // Installed but it never answers: the report falls back in bounded time.
    ScopedEnv broken("QV_SOFFICE", "/bin/true");
    WordOfficeOptions options;
    options.privateOffice = true;
    options.startSeconds = 20;
    std::unique_ptr<WordOffice> office = loadWordOffice(options);
    ASSERT_TRUE(office);
    EXPECT_TRUE(office->installed());
    std::string name;
    EXPECT_EQ(writeWordReport(f.model, f.form, *office, name, 10, true), WordReportOutcome::NoOffice);
    EXPECT_EQ(name, "");
    EXPECT_TRUE(f.form.messages.empty());
}

TEST_F(WriterOffice, StuckOfficeCostsOneBoundedWait) {
    // Something holds the office's pipe and never answers.
    const std::string pipe = "quorvex_stuck_" + std::to_string(getpid());
    const std::string socketPath = "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + pipe;
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);

    ScopedEnv broken("QV_SOFFICE", "/bin/true");
    WordOfficeOptions options;
    options.pipeName = pipe;
    options.callSeconds = 1;
    options.startSeconds = 2;
    std::unique_ptr<WordOffice> office = loadWordOffice(options);
    ASSERT_TRUE(office);
    std::string name;
    EXPECT_EQ(writeWordReport(f.model, f.form, *office, name, 10, true), WordReportOutcome::NoOffice);
    // It did knock, and was not let in.
    const int knocked = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK);
    EXPECT_GE(knocked, 0);
    if (knocked >= 0) close(knocked);
    close(listener);
    unlink(socketPath.c_str());
}

}  // namespace
}  // namespace qv
