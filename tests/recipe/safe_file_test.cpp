#include "recipe/safe_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "support/element_file.h"
#include "support/recipe_scratch.h"

// While set, every other read(2) and write(2) is interrupted by a signal and
// the others move two bytes at most, as on a slow disk.
bool choppyCalls = false;

bool interrupted() {
    static unsigned calls = 0;
    return choppyCalls && calls++ % 2 == 0 && (errno = EINTR, true);
}
size_t chop(size_t count) { return choppyCalls ? std::min<size_t>(count, 2) : count; }

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
    return interrupted() ? -1 : ::syscall(SYS_write, fd, bytes, chop(count));
}
extern "C" ssize_t read(int fd, void* bytes, size_t count) {
    return interrupted() ? -1 : ::syscall(SYS_read, fd, bytes, chop(count));
}

namespace qv {
namespace {

namespace fs = std::filesystem;

// What a folder without write permission does to a new file.
int refuseNewFiles(const char* path, int flags, mode_t mode) {
    return flags & O_CREAT ? (errno = EACCES, -1) : ::open(path, flags, mode);
}

std::ptrdiff_t filesIn(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); }

TEST(SafeFile, ShortCallsCarryOnALinkKeepsPointingAtTheNewFileAndNoNewFilesMeansInPlace) {
    test::TempDir dir;
    const std::string target = dir.write("r.qvs", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = dir.path() / "link.qvs";
    fs::create_symlink(target, link);
    choppyCalls = true;
    const bool saved = replaceFileContents(link.string(), "a new recipe");
    const bool overwritten = replaceFileContents(target, "in place", refuseNewFiles);
    choppyCalls = false;
    EXPECT_TRUE(saved && overwritten);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640)) << "the old file's permissions kept";
    EXPECT_EQ(test::readFileBytes(target), "in place");
    EXPECT_EQ(filesIn(dir.path()), 2);

    // A folder refusing new files: a writable target is overwritten in place.
    dir.write("r.qvs", "an older and longer recipe");
    fs::create_hard_link(target, dir.path() / "hard.qvs");
    EXPECT_TRUE(replaceFileContents(target, "new", refuseNewFiles));
    EXPECT_EQ(test::readFileBytes((dir.path() / "hard.qvs").string()), "new") << "the same file, in place";
    // Nothing to overwrite: the save fails and creates nothing.
    EXPECT_FALSE(replaceFileContents((dir.path() / "absent.qvs").string(), "new", refuseNewFiles));
    EXPECT_EQ(filesIn(dir.path()), 3);
}

}  // namespace
}  // namespace qv
