#pragma once
// A whole file in memory, and its lines split the way the line reader splits them, with the byte
// offsets a writer needs to copy parts of the file unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace sx {

// Reads a regular file whole into out. False when it cannot be opened, is not a regular file
// (a FIFO is never waited for) or a read fails; *error (when given) then says why.
bool ReadFileBytes(const std::string& path, std::string& out, std::string* error = nullptr);

// The part of a text up to its first NUL byte: no text of the format goes beyond one.
std::string_view CutAtNul(std::string_view text);

struct ByteLine {
  std::string_view text;   // the line without its terminator
  std::size_t next = 0;    // offset just behind the terminator
  char terminator = '\0';  // '\r' or '\n'; '\0' for a last line without one
};

// Splits bytes into lines as LineReader::ReadLine does: a line ends at a carriage return or a
// line feed; an empty line ended by a line feed is the second half of a CR LF pair and is
// skipped; a UTF-8 byte-order mark at the start is skipped. Lines are not cut at any length.
class ByteLines {
 public:
  explicit ByteLines(std::string_view bytes);
  // The next line; false at the end of the bytes.
  bool Next(ByteLine& line);
  // Offset of the first byte after the byte-order mark (0 without one).
  std::size_t start() const { return start_; }

 private:
  std::string_view bytes_;
  std::size_t start_ = 0;
  std::size_t pos_ = 0;
};

}  // namespace sx
