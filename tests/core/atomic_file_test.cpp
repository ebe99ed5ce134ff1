// The one write path of every file: what it does with each kind of destination (the cases every
// writer shares are in the platform tests), and that a failing write at any point leaves the old
// file as it was.

#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "test_files.h"

namespace sx {
namespace {

// Every name in a folder, so that a temporary file left behind shows.
std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Makes a symbolic link at `at` to `to` and returns `at`.
std::string Link(const std::string& to, const std::string& at) {
  EXPECT_EQ(symlink(to.c_str(), at.c_str()), 0) << at;
  return at;
}

TEST(AtomicFile, EveryKindOfDestination) {
  TestFiles files;
  const std::string dir = files.dir();
  const std::string data = files.Write("data.tab", "data");
  ASSERT_EQ(mkdir((dir + "/other").c_str(), 0755), 0);
  const std::string target = files.Write("other/target.txt", "old");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);

  // Every kind of destination made first: none of them depends on a write before it.
  ASSERT_EQ(link(data.c_str(), (dir + "/hard").c_str()), 0);
  ASSERT_EQ(chmod(files.Write("protected.txt", "keep").c_str(), 0444), 0);
  ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0644), 0);
  struct Case {
    std::string path;
    std::string refusal;      // empty: written
    std::string writtenFile;  // where the content must then be
  };
  const Case cases[] = {
      {Link("other/target.txt", dir + "/link"), "", target},
      {Link("link", dir + "/link2"), "", target},  // a chain of links
      {Link("other/new.txt", dir + "/dangling"), "", dir + "/other/new.txt"},
      {dir + "/hard", "it is the data file that is open", ""},
      {dir + "/protected.txt", "it is write-protected", ""},
      {dir + "/fifo", "it is not a regular file", ""},
      {dir + "/other", "it is not a regular file", ""},
      {Link("loop", dir + "/loop"),
       "its link cannot be followed: Too many levels of symbolic links", ""},
  };
  for (const Case& c : cases) {
    const std::string& path = c.path;
    SCOPED_TRACE(path);
    struct stat before, after;
    ASSERT_EQ(lstat(path.c_str(), &before), 0);
    std::string error;
    const bool written = WriteFileAtomically(path, "new", data, &error);
    EXPECT_EQ(CanReplaceFile(path, data), c.refusal.empty());
    if (c.refusal.empty()) {
      ASSERT_TRUE(written) << error;
      EXPECT_EQ(ReadBytes(c.writtenFile), "new");
      // A link stays a link; the file it leads to keeps its permissions.
      ASSERT_EQ(lstat(path.c_str(), &after), 0);
      EXPECT_EQ(after.st_mode, before.st_mode);
    } else {
      EXPECT_FALSE(written);
      EXPECT_EQ(error, c.refusal);
    }
    EXPECT_EQ(ReadBytes(data), "data");
  }
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadBytes(dir + "/protected.txt"), "keep");
  // Nothing but what the cases made: no temporary file anywhere.
  EXPECT_EQ(Names(dir + "/other"), (std::vector<std::string>{"new.txt", "target.txt"}));
  for (const std::string& name : Names(dir)) EXPECT_NE(name.substr(0, 3), ".sx") << name;
}

// A write that puts at most 4096 bytes into the file per call, and fails with a full disk at
// call number failAt.
int writeCalls = 0;
int failAt = 0;
ssize_t SmallWrites(int fd, const void* data, std::size_t size) {
  if (++writeCalls == failAt) {
    errno = ENOSPC;
    return -1;
  }
  return ::write(fd, data, std::min<std::size_t>(size, 4096));
}

TEST(AtomicFile, FullDiskAtAnyWriteCallKeepsTheOldFile) {
  TestFiles files;
  const std::string path = files.Write("picture.svg", "a good old picture");
  const std::string content(5 * 4096 - 7, 'x');  // five write calls
  SetFileWriteCallForTesting(SmallWrites);
  for (failAt = 1; failAt <= 5; ++failAt) {
    writeCalls = 0;
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, content, "", &error)) << failAt;
    EXPECT_EQ(error, "writing failed: No space left on device");
    EXPECT_EQ(ReadBytes(path), "a good old picture");
    EXPECT_EQ(Names(files.dir()), std::vector<std::string>{"picture.svg"});
  }
  failAt = 0;
  writeCalls = 0;
  EXPECT_TRUE(WriteFileAtomically(path, content, ""));
  EXPECT_EQ(writeCalls, 5);
  SetFileWriteCallForTesting(nullptr);
  EXPECT_EQ(ReadBytes(path), content);
}

}  // namespace
}  // namespace sx
