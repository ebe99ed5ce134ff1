#pragma once
// Reads a file line by line the way every text file of the program is read: a line ends at a
// carriage return or a line feed; an empty line ended by a line feed is taken as the second
// half of a CR LF pair and skipped. Works on raw bytes with its own large buffer, so reading
// never allocates per line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sx {

class LineReader {
 public:
  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens a file for reading; false when it cannot be opened or is a directory. A FIFO is
  // waited for and read like a file.
  bool Open(const std::string& path);
  // Opens a regular file only, without ever waiting: anything else counts as unreadable.
  bool OpenRegular(const std::string& path);
  // Reads the file `other` has open from byte `begin` on (no byte-order mark is looked for
  // there), without disturbing `other`; `other` must stay open while this reader is used. Only
  // for regular files; false otherwise.
  bool OpenShared(const LineReader& other, std::uint64_t begin);
  void Close();
  bool isOpen() const { return fd_ >= 0; }
  // Regular files: their size when opened; else 0.
  bool isRegular() const { return regular_; }
  std::uint64_t fileSize() const { return size_; }
  // Offset in the file of the first byte not yet given out as part of a line.
  std::uint64_t offset() const { return filePos_ - (end_ - pos_); }
  // Makes the file end at byte `limit` (not before offset()) for this reader; UINT64_MAX lifts
  // the limit. Regular files only.
  void SetLimit(std::uint64_t limit);

  // Regular files, read without moving any reader: the offset just behind the first line feed at
  // or after `from` (0 when there is none), and the number of carriage returns and line feeds in
  // [begin, end) (an upper bound of the lines there). Both give 0 on a read error.
  std::uint64_t NextLineStart(std::uint64_t from) const;
  std::uint64_t CountLineEnds(std::uint64_t begin, std::uint64_t end) const;
  // Regular files: the number (from 1) of the line that begins at byte `offset`, counted as an
  // editor counts them (CR, LF and CR LF each end one line); 0 for other files or a read error.
  std::uint64_t LineNumberAt(std::uint64_t offset) const;
  // True when a read from the file failed (as opposed to reaching its end).
  bool readError() const { return readError_; }

  // Reads one line into buffer (its previous content is replaced), at most capacity bytes.
  // Returns the number of stored bytes + 1; at end of file -(stored + 1); for a line longer
  // than capacity - 1 bytes -capacity, with the first capacity bytes stored and the rest of the
  // line left unread. A UTF-8 byte-order mark at the start of the file is skipped.
  std::int32_t ReadLine(std::string& buffer, std::int32_t capacity);

  // The same, but the line is given as a view: into the reader's own buffer when the line lies
  // wholly in it (no copy), else into `spill`. The view stays valid until the next read.
  std::int32_t ReadLine(std::string_view& line, std::string& spill, std::int32_t capacity);

 private:
  bool Fill();
  bool OpenWith(const std::string& path, bool regularOnly);

  int fd_ = -1;
  bool ownsFd_ = false;
  bool regular_ = false;
  std::uint64_t size_ = 0;
  std::uint64_t filePos_ = 0;  // offset of the byte behind the buffer
  std::uint64_t limit_ = UINT64_MAX;
  bool eof_ = false;
  bool readError_ = false;
  bool atStart_ = true;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  static constexpr std::size_t kChunk = 1 << 16;
  char chunk_[kChunk];
};

}  // namespace sx
