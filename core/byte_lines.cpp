#include "core/byte_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sx {

bool ReadFileBytes(const std::string& path, std::string& out, std::string* error) {
  out.clear();
  auto fail = [&](int code) {
    if (error) *error = std::strerror(code);
    out.clear();
    return false;
  };
  // Not blocking on the open: a FIFO without a writer would wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int code = errno;
    ::close(fd);
    return fail(code);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    if (!S_ISDIR(st.st_mode)) {
      if (error) *error = "not a regular file";
      out.clear();
      return false;
    }
    return fail(EISDIR);
  }
  if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  char chunk[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) {
      out.append(chunk, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int code = errno;
      ::close(fd);
      return fail(code);
    }
    break;
  }
  ::close(fd);
  return true;
}

std::string_view CutAtNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

ByteLines::ByteLines(std::string_view bytes) : bytes_(bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") start_ = 3;
  pos_ = start_;
}

bool ByteLines::Next(ByteLine& line) {
  const std::size_t size = bytes_.size();
  while (pos_ < size) {
    std::size_t end = pos_;
    while (end < size && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
    line.text = bytes_.substr(pos_, end - pos_);
    if (end == size) {
      pos_ = size;
      line.next = size;
      line.terminator = '\0';
      return true;
    }
    const char terminator = bytes_[end];
    pos_ = end + 1;
    if (terminator == '\n' && line.text.empty()) continue;
    line.next = pos_;
    line.terminator = terminator;
    return true;
  }
  return false;
}

}  // namespace sx
