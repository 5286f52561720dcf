#include "recipe/safe_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>

#include "support/element_file.h"
#include "support/recipe_scratch.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// What a folder without write permission does to a new file.
int refuseNewFiles(const char* path, int flags, mode_t mode) {
    if (flags & O_CREAT) {
        errno = EACCES;
        return -1;
    }
    return ::open(path, flags, mode);
}

std::ptrdiff_t filesIn(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); }

TEST(SafeFile, FolderRefusingNewFilesGetsAWritableTargetOverwrittenInPlace) {
    test::TempDir dir;
    const std::string target = dir.write("r.qvs", "an older and longer recipe");
    fs::create_hard_link(target, dir.path() / "link.qvs");
    EXPECT_TRUE(replaceFileContents(target, "new", refuseNewFiles));
    EXPECT_EQ(test::readFileBytes(target), "new");
    EXPECT_EQ(test::readFileBytes((dir.path() / "link.qvs").string()), "new") << "the same file, in place";
    EXPECT_EQ(filesIn(dir.path()), 2);
    // Nothing to overwrite: the save fails and creates nothing.
    EXPECT_FALSE(replaceFileContents((dir.path() / "absent.qvs").string(), "new", refuseNewFiles));
    EXPECT_EQ(filesIn(dir.path()), 2);
}

TEST(SafeFile, ALinkKeepsPointingAtTheNewContents) {
    test::TempDir dir;
    const std::string target = dir.write("r.qvs", "old");
    const fs::path link = dir.path() / "link.qvs";
    fs::create_symlink(target, link);
    EXPECT_TRUE(replaceFileContents(link.string(), "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFileBytes(target), "new");
}

TEST(SafeFile, ReadOnlyFolderWithWritableFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions; the refusing open above stands in";
    test::TempDir dir;
    const std::string target = dir.write("r.qvs", "old");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const bool saved = replaceFileContents(target, "new");
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_TRUE(saved);
    EXPECT_EQ(test::readFileBytes(target), "new");
    EXPECT_EQ(filesIn(dir.path()), 1);
}

}  // namespace
}  // namespace qv
