#include "core/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sx {

LineReader::~LineReader() {
  Close();
}

bool LineReader::Open(const std::string& path) {
  return OpenWith(path, false);
}

bool LineReader::OpenRegular(const std::string& path) {
  return OpenWith(path, true);
}

bool LineReader::OpenWith(const std::string& path, bool regularOnly) {
  Close();
  // O_NONBLOCK keeps the open of a FIFO without a writer from waiting; regular files ignore it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0));
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || (regularOnly && !S_ISREG(st.st_mode))) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  ownsFd_ = true;
  regular_ = S_ISREG(st.st_mode);
  size_ = regular_ ? static_cast<std::uint64_t>(st.st_size) : 0;
  filePos_ = 0;
  limit_ = UINT64_MAX;
  eof_ = false;
  readError_ = false;
  atStart_ = true;
  pos_ = end_ = 0;
  return true;
}

bool LineReader::OpenShared(const LineReader& other, std::uint64_t begin) {
  Close();
  if (other.fd_ < 0 || !other.regular_) return false;
  fd_ = other.fd_;
  ownsFd_ = false;
  regular_ = true;
  size_ = other.size_;
  filePos_ = begin;
  limit_ = UINT64_MAX;
  eof_ = false;
  readError_ = false;
  atStart_ = false;
  pos_ = end_ = 0;
  return true;
}

void LineReader::Close() {
  if (fd_ >= 0 && ownsFd_) ::close(fd_);
  fd_ = -1;
  ownsFd_ = false;
}

void LineReader::SetLimit(std::uint64_t limit) {
  limit_ = limit;
  if (filePos_ > limit) {  // bytes beyond the new end are already in the buffer
    const std::uint64_t cut = std::min<std::uint64_t>(filePos_ - limit, end_ - pos_);
    end_ -= static_cast<std::size_t>(cut);
    filePos_ -= cut;
  }
  if (filePos_ < limit_) eof_ = false;
}

namespace {

// pread that retries interrupted calls; -1 on a read error.
ssize_t ReadAt(int fd, char* out, std::size_t bytes, std::uint64_t at) {
  for (;;) {
    const ssize_t n = ::pread(fd, out, bytes, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

// The bytes equal to `b` among n, eight at a time: a byte of x = word ^ pattern is zero exactly
// where the word holds `b`, and the sum below sets the top bit of every non-zero byte without
// carrying into the next one; the flags are summed by one multiplication (no instruction for
// counting bits may be assumed).
std::uint64_t CountBytes(const char* p, std::size_t n, char b) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t pattern = 0x0101010101010101ULL * static_cast<unsigned char>(b);
  std::uint64_t count = 0;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    const std::uint64_t x = w ^ pattern;
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    count += ((zero >> 7) * 0x0101010101010101ULL) >> 56;  // the eight flags summed
  }
  for (; i < n; ++i) count += p[i] == b;
  return count;
}

}  // namespace

std::uint64_t LineReader::NextLineStart(std::uint64_t from) const {
  if (fd_ < 0 || !regular_) return 0;
  char buffer[4096];
  for (std::uint64_t at = from;;) {
    const ssize_t n = ReadAt(fd_, buffer, sizeof buffer, at);
    if (n <= 0) return 0;
    if (const void* lf = std::memchr(buffer, '\n', static_cast<std::size_t>(n))) {
      return at + static_cast<std::uint64_t>(static_cast<const char*>(lf) - buffer) + 1;
    }
    at += static_cast<std::uint64_t>(n);
  }
}

std::uint64_t LineReader::CountLineEnds(std::uint64_t begin, std::uint64_t end) const {
  if (fd_ < 0 || !regular_) return 0;
  std::string buffer(kChunk, '\0');
  std::uint64_t count = 0;
  for (std::uint64_t at = begin; at < end;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - at));
    const ssize_t n = ReadAt(fd_, buffer.data(), want, at);
    if (n <= 0) return 0;
    count += CountBytes(buffer.data(), static_cast<std::size_t>(n), '\n') +
             CountBytes(buffer.data(), static_cast<std::size_t>(n), '\r');
    at += static_cast<std::uint64_t>(n);
  }
  return count;
}

std::uint64_t LineReader::LineNumberAt(std::uint64_t offset) const {
  if (fd_ < 0 || !regular_) return 0;
  std::string buffer(kChunk, '\0');
  std::uint64_t ends = 0;
  bool afterCr = false;
  for (std::uint64_t at = 0; at < offset;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, offset - at));
    const ssize_t n = ReadAt(fd_, buffer.data(), want, at);
    if (n <= 0) return 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
      const char c = buffer[i];
      ends += c == '\r' || (c == '\n' && !afterCr);
      afterCr = c == '\r';
    }
    at += static_cast<std::uint64_t>(n);
  }
  return ends + 1;
}

bool LineReader::Fill() {
  if (eof_ || fd_ < 0) return false;
  for (;;) {
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(kChunk, limit_ > filePos_ ? limit_ - filePos_ : 0));
    if (want == 0) break;
    // Regular files are read at the reader's own offset, so that two readers may share one.
    const ssize_t n = regular_ ? ::pread(fd_, chunk_, want, static_cast<off_t>(filePos_))
                               : ::read(fd_, chunk_, want);
    if (n > 0) {
      filePos_ += static_cast<std::uint64_t>(n);
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
    break;
  }
  eof_ = true;
  return false;
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
