#include "core/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sx {

LineReader::~LineReader() {
  Close();
}

bool LineReader::Open(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  eof_ = false;
  readError_ = false;
  atStart_ = true;
  pos_ = end_ = 0;
  return true;
}

void LineReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool LineReader::Fill() {
  if (eof_ || fd_ < 0) return false;
  for (;;) {
    const ssize_t n = ::read(fd_, chunk_, kChunk);
    if (n > 0) {
      pos_ = 0;
      end_ = static_cast<std::size_t>(n);
      if (atStart_) {
        atStart_ = false;
        if (end_ >= 3 && std::memcmp(chunk_, "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
      }
      if (pos_ < end_) return true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) readError_ = true;
    eof_ = true;
    return false;
  }
}

std::int32_t LineReader::ReadLine(std::string_view& line, std::string& spill,
                                  std::int32_t capacity) {
  // Fast path: a whole, terminated, non-empty line inside the current chunk.
  if (pos_ < end_ && capacity > 1) {
    const char* begin = chunk_ + pos_;
    const std::size_t avail = end_ - pos_;
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', avail));
    const std::size_t span = lf ? static_cast<std::size_t>(lf - begin) : avail;
    const char* cr = static_cast<const char*>(std::memchr(begin, '\r', span));
    const std::size_t len = cr ? static_cast<std::size_t>(cr - begin) : span;
    const bool terminated = cr != nullptr || lf != nullptr;
    if (terminated && len > 0 && len <= static_cast<std::size_t>(capacity) - 1) {
      line = std::string_view(begin, len);
      pos_ += len + 1;
      return static_cast<std::int32_t>(len + 1);
    }
  }
  const std::int32_t r = ReadLine(spill, capacity);
  line = spill;
  return r;
}

std::int32_t LineReader::ReadLine(std::string& buffer, std::int32_t capacity) {
  buffer.clear();
  if (capacity < 1) return -1;
  const std::size_t limit = static_cast<std::size_t>(capacity);
  for (;;) {
    if (pos_ >= end_ && !Fill()) {
      return -static_cast<std::int32_t>(buffer.size() + 1);
    }
    const char* begin = chunk_ + pos_;
    const std::size_t avail = end_ - pos_;
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', avail));
    const std::size_t span = lf ? static_cast<std::size_t>(lf - begin) : avail;
    const char* cr = static_cast<const char*>(std::memchr(begin, '\r', span));
    const std::size_t len = cr ? static_cast<std::size_t>(cr - begin) : span;
    const bool terminated = cr != nullptr || lf != nullptr;

    // Over-long line: keep the first `capacity` bytes, leave the rest unread.
    if (buffer.size() + len > limit - 1) {
      const std::size_t take = limit - buffer.size();
      buffer.append(begin, take);
      pos_ += take;
      return -capacity;
    }
    buffer.append(begin, len);
    pos_ += len;
    if (!terminated) continue;  // the line goes on in the next chunk

    const char terminator = chunk_[pos_];
    ++pos_;
    if (terminator == '\n' && buffer.empty()) continue;  // second half of CR LF, or blank line
    return static_cast<std::int32_t>(buffer.size() + 1);
  }
}

}  // namespace sx
