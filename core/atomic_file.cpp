#include "core/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace sx {
namespace {

std::atomic<FileWriteCall> writeCall{nullptr};

bool Fail(std::string* error, const std::string& what, int code) {
  if (error) *error = what + ": " + std::strerror(code);
  return false;
}

bool Refuse(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// The file a chain of symbolic links leads to; a relative link counts from its own folder. A
// path that is no link (or does not exist) is its own target.
bool FollowLinks(const std::string& path, std::string& target, int& code) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size() || n == 0) {
      code = n < 0 ? errno : ENAMETOOLONG;
      return false;
    }
    link.resize(static_cast<std::size_t>(n));
    const std::size_t slash = target.rfind('/');
    if (link[0] != '/' && slash != std::string::npos) link.insert(0, target, 0, slash + 1);
    target = std::move(link);
  }
  code = ELOOP;
  return false;
}

// The checks on the file the links lead to.
bool CheckTarget(const std::string& target, const std::string& openDataFile, struct stat& st,
                 bool& exists, std::string* error) {
  exists = ::stat(target.c_str(), &st) == 0;
  if (!exists) return true;  // a new file; a folder that is not there fails on creation
  if (!S_ISREG(st.st_mode)) return Refuse(error, "it is not a regular file");
  struct stat data;
  if (!openDataFile.empty() && ::stat(openDataFile.c_str(), &data) == 0 &&
      data.st_dev == st.st_dev && data.st_ino == st.st_ino) {
    return Refuse(error, "it is the data file that is open");
  }
  // Permission bits do not stop the superuser; a file without any write bit is still meant to
  // stay as it is.
  if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    return Refuse(error, "it is write-protected");
  }
  return true;
}

// Creates a new file ".sx" + six letters or digits beside the target (folder: the target's up
// to and including its last "/", empty for the working folder). Returns its descriptor, or -1.
int CreateTemporary(const std::string& folder, std::string& temp) {
  static std::atomic<std::uint64_t> counter{0};
  constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const auto now =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t x = now ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^
                      (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 29;
    temp = folder + ".sx";
    for (int i = 0; i < 6; ++i, x /= 62) temp.push_back(kDigits[x % 62]);
    // The mode asked for goes through the umask, as for any new file.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, std::string_view content, int& code) {
  const FileWriteCall call = writeCall.load();
  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = call ? call(fd, p, left) : ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      code = n < 0 ? errno : ENOSPC;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool CanReplaceFile(const std::string& path, const std::string& openDataFile, std::string* error) {
  std::string target;
  int code = 0;
  if (!FollowLinks(path, target, code)) return Fail(error, "its link cannot be followed", code);
  struct stat st;
  bool exists = false;
  return CheckTarget(target, openDataFile, st, exists, error);
}

bool WriteFileAtomically(const std::string& path, std::string_view content,
                         const std::string& openDataFile, std::string* error) {
  std::string target;
  int code = 0;
  if (!FollowLinks(path, target, code)) return Fail(error, "its link cannot be followed", code);
  struct stat st;
  bool exists = false;
  if (!CheckTarget(target, openDataFile, st, exists, error)) return false;

  const std::size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string temp;
  const int fd = CreateTemporary(folder, temp);
  if (fd < 0) return Fail(error, "no file can be made in its folder", errno);
  if (exists) {
    // The new file keeps the permissions (never set-id bits) and, where allowed, the owner of
    // the one it replaces.
    ::fchmod(fd, st.st_mode & 0777);
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Only the superuser may give a file away; everyone else makes the new file their own.
    }
  }
  if (!WriteAll(fd, content, code) || ::fsync(fd) != 0) {
    if (code == 0) code = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return Fail(error, "writing failed", code);
  }
  if (::close(fd) != 0) {
    code = errno;
    ::unlink(temp.c_str());
    return Fail(error, "writing failed", code);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    code = errno;
    ::unlink(temp.c_str());
    return Fail(error, "it cannot be replaced", code);
  }
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void SetFileWriteCallForTesting(FileWriteCall call) {
  writeCall.store(call);
}

}  // namespace sx
