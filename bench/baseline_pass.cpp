// The reference pass for the loading benchmark: the least work any reader of the format must do.
// Reads the file in large chunks, splits it into lines and tab-separated fields, and parses every
// field as a float (after one quality-flag character when the plain parse fails). The values are
// summed so the compiler cannot drop the parsing.
//
// usage: baseline_pass FILE

#include <fast_float/fast_float.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

namespace {

constexpr std::size_t kChunkBytes = std::size_t{4} << 20;

struct Totals {
  std::uint64_t numbers = 0;
  std::uint64_t fields = 0;
  std::uint64_t lines = 0;
  double checksum = 0.0;
};

bool IsFlag(char c) {
  return c == '/' || c == '*' || c == '?' || c == '#' || c == '>' || c == '<';
}

void ParseField(const char* begin, const char* end, Totals& totals) {
  ++totals.fields;
  if (begin == end) return;
  float value = 0.0f;
  auto result = fast_float::from_chars(begin, end, value);
  if (result.ec != std::errc{} && IsFlag(*begin))
    result = fast_float::from_chars(begin + 1, end, value);
  if (result.ec == std::errc{}) {
    ++totals.numbers;
    totals.checksum += value;
  }
}

void ParseLine(const char* begin, const char* end, Totals& totals) {
  if (end != begin && end[-1] == '\r') --end;
  ++totals.lines;
  const char* field = begin;
  while (true) {
    const auto* tab =
        static_cast<const char*>(std::memchr(field, '\t', static_cast<std::size_t>(end - field)));
    if (tab == nullptr) {
      ParseField(field, end, totals);
      return;
    }
    ParseField(field, tab, totals);
    field = tab + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: baseline_pass FILE\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }

  Totals totals;
  std::uint64_t bytes = 0;
  std::vector<char> buffer(kChunkBytes);
  std::size_t carried = 0;  // bytes of an unfinished line kept at the buffer's start
  while (true) {
    if (carried == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than a chunk
    const std::size_t got = std::fread(buffer.data() + carried, 1, buffer.size() - carried, file);
    bytes += got;
    const std::size_t filled = carried + got;
    const char* const data = buffer.data();
    if (got == 0) {
      if (carried > 0) ParseLine(data, data + carried, totals);  // last line without a newline
      break;
    }
    const char* line = data;
    const char* const stop = data + filled;
    while (const auto* newline = static_cast<const char*>(
               std::memchr(line, '\n', static_cast<std::size_t>(stop - line)))) {
      ParseLine(line, newline, totals);
      line = newline + 1;
    }
    carried = static_cast<std::size_t>(stop - line);
    std::memmove(buffer.data(), line, carried);
  }
  const bool readFailed = std::ferror(file) != 0;
  std::fclose(file);
  if (readFailed) {
    std::fprintf(stderr, "baseline_pass: reading %s failed\n", argv[1]);
    return 1;
  }
  std::printf("numbers %llu fields %llu lines %llu bytes %llu checksum %.6g\n",
              static_cast<unsigned long long>(totals.numbers),
              static_cast<unsigned long long>(totals.fields),
              static_cast<unsigned long long>(totals.lines), static_cast<unsigned long long>(bytes),
              totals.checksum);
  return 0;
}
