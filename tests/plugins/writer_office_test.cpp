#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "output/word_plugin.h"
#include "output/word_report.h"
#include "support/recording_word.h"
#include "support/run_program.h"
#include "support/test_form.h"

namespace qv {
namespace {

// The text of a stored OpenDocument text file, written the way the recording
// word processor writes its documents: lowered (subscript) runs as _{...}, line
// breaks as "\n", each paragraph's end as a pilcrow and "\n". The report texts
// hold no markup characters, so entities are left alone.
std::string odtText(const std::string& path) {
    const test::TempDir scratch;
    const std::string content = (scratch.path() / "content.xml").string();
    std::system(
        ("unzip -p " + test::shellQuoted(path) + " content.xml >" + test::shellQuoted(content)).c_str());
    std::string xml = test::readFileBytes(content), lowered;
    // Text styles that lower the text: "sub ..." or a negative position.
    const std::regex style(
        R"re(<style:style style:name="([^"]+)" style:family="text"><style:text-properties[^>]*style:text-position="(sub|-))re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), style), end; it != end; ++it)
        lowered += (lowered.empty() ? "" : "|") + (*it)[1].str();
    xml.erase(0, xml.find("<office:text"));
    xml = std::regex_replace(
        xml, std::regex(R"re(<text:span text:style-name="(?:)re" + lowered + R"re()">([^<]*)</text:span>)re"),
        "_{$1}");
    std::smatch m;
    for (const std::regex blanks(R"re(<text:s text:c="(\d+)"/>)re"); std::regex_search(xml, m, blanks);)
        xml.replace(m.position(), m.length(), std::stoul(m[1]), ' ');
    for (const auto& [tag, text] : {std::pair{"<text:s/>", " "},
                                    {"<text:line-break/>", "\n"},
                                    {"</text:p>|<text:p [^>]*/>", "\xC2\xB6\n"},
                                    {"<[^>]*>", ""}})
        xml = std::regex_replace(xml, std::regex(tag), text);
    return xml;
}

class WriterOffice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(f.enterBariumTitanate());
        std::string why;
        const std::unique_ptr<WordOffice> office = loadWordOffice({}, &why);
        ASSERT_TRUE(office) << why;
        haveOffice = office->installed();
    }
    void TearDown() override { unsetenv("QV_SOFFICE"); }
    // The reports as the recording word processor keeps them, then the end
    // of the document's last paragraph.
    std::string expectedText(bool twice) {
        test::RecordingWord fake;
        std::string document;
        writeWordReport(f.model, fake, document, "S1", 10, true);
        if (twice) writeWordReport(f.model, fake, document, "S1", 2.5, false);
        return fake.documents.at(0).text + "\xC2\xB6\n";
    }
    WordReportOutcome output(WordOffice& office, double grams, bool difference) {
        return writeWordReport(f.model, office, name, "S1", grams, difference);
    }
    // An executable "soffice" with this script, for the office to start.
    void fakeOffice(test::TempDir& in, const std::string& script) {
        const std::string soffice = in.write("soffice", "#!/bin/sh\n" + script);
        std::filesystem::permissions(soffice, std::filesystem::perms::owner_all);
        setenv("QV_SOFFICE", soffice.c_str(), 1);
    }

    test::TestForm f{test::kBaTiCOElementFile};
    test::TempDir dir;
    bool haveOffice = false;
    std::string name;
};

TEST_F(WriterOffice, TwoReportsCollectInOneDocumentAndTheCommandLineStoresOne) {
    if (!haveOffice) GTEST_SKIP() << "soffice not found: no office to drive";
    std::unique_ptr<WordOffice> office = loadWordOffice({.pipeName = {}, .privateOffice = true});
    ASSERT_TRUE(office);
    ASSERT_EQ(output(*office, 10, true), WordReportOutcome::Typed);
    const std::string first = name;
    ASSERT_EQ(output(*office, 2.5, false), WordReportOutcome::Typed);
    EXPECT_EQ(name, first);
    // Loaded hidden, the document never becomes the office's current one.
    EXPECT_THROW(office->connect()->selection(), WordError);
    const std::string path = (dir.path() / "two reports.odt").string();
    office->connect()->saveDocument(name, path);
    office.reset();
    EXPECT_EQ(odtText(path), expectedText(true));

    const std::string out = (dir.path() / "bt.odt").string();
    const auto run =
        test::runCli({"report", "--atoms", dir.write("atoms.lst", test::kBaTiCOElementFile), "--writer", out,
                      dir.write("bt.qvs", "-1 S1\n0 10 1 BaTiO3\n1 0 0 BaCO3\n2 0 0 TiO2\n")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "Quorvex could obtain an answer for you.\n");
    EXPECT_EQ(odtText(out), expectedText(false));
}

TEST_F(WriterOffice, NoOfficeToUseOrAStuckOneCostsOneBoundedWait) {
    // Not installed: the command line says so before it reads any recipe.
    setenv("QV_SOFFICE", "", 1);
    const auto run = test::runCli({"report", "--writer", (dir.path() / "x.odt").string(), "missing.qvs"});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_EQ(run.err,
              "quorvex-cli report: LibreOffice (soffice) is not installed; no Writer document written\n");
    EXPECT_FALSE(wordAvailable());
    // Installed but it never answers: the report falls back to the text report.
    setenv("QV_SOFFICE", "/bin/true", 1);
    std::unique_ptr<WordOffice> office = loadWordOffice({.pipeName = {}, .privateOffice = true});
    ASSERT_TRUE(office && office->installed());
    EXPECT_EQ(output(*office, 10, true), WordReportOutcome::NoOffice);
    EXPECT_EQ(name, "");

    // Something holds the office's pipe and never answers: one bounded wait.
    const WordOfficeOptions options{
        .pipeName = "quorvex_stuck_" + std::to_string(getpid()), .startSeconds = 2, .callSeconds = 1};
    const std::string socketPath = "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + options.pipeName;
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    office = loadWordOffice(options);
    ASSERT_TRUE(office);
    EXPECT_EQ(output(*office, 10, true), WordReportOutcome::NoOffice);
    // It did knock, and was not let in.
    const int knocked = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK);
    EXPECT_GE(knocked, 0);
    close(knocked), close(listener), unlink(socketPath.c_str());
    // Having knocked, a pipe whose office went away fails a write, not the process.
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    close(ends[1]);
    EXPECT_EQ(write(ends[0], "x", 1), -1);
    close(ends[0]);
    // The office it started was handed to init, not left a zombie of ours.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST_F(WriterOffice, WindowsOnlyWithADesktopPluginAndCancelEndsTheWait) {
    // The office's program folder tells: a window system plugin other than
    // the headless ones, or none.
    const std::pair<std::vector<const char*>, bool> rows[] = {
        {{}, false},
        {{"libvclplug_svplo.so", "libvclplug_headlesslo.so"}, false},
        {{"libvclplug_svplo.so", "libvclplug_gtk3lo.so"}, true}};
    for (const auto& [files, shows] : rows) {
        test::TempDir program;
        fakeOffice(program, "");
        for (const char* file : files) program.write(file, "");
        const std::unique_ptr<WordOffice> office = loadWordOffice();
        ASSERT_TRUE(office && office->installed());
        EXPECT_EQ(office->showsWindows(), shows) << files.size();
    }

    // An "office" that says it has started through a FIFO, then never answers.
    const std::string fifo = (dir.path() / "started").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fakeOffice(dir, "echo up > '" + fifo + "'\n");
    const std::unique_ptr<WordOffice> office =
        loadWordOffice({.pipeName = "quorvex_cancel_" + std::to_string(getpid()), .startSeconds = 600});
    std::unique_ptr<WordApplication> app;
    std::thread waiting([&] { app = office->connect(); });
    std::ifstream(fifo).get();  // blocks until the office has been started
    office->cancel();
    waiting.join();  // at once, not after the 600 s
    EXPECT_EQ(app, nullptr);
}

}  // namespace
}  // namespace qv
