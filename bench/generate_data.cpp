// Writes a large synthetic data file for the loading benchmark: a description block, a header
// line and ROWS data lines with an ascending depth column and COLUMNS - 1 parameter columns.
// Values are made from integers only (digits plus an inserted decimal point), so the same seed
// gives the same bytes on every machine.
//
// usage: generate_data OUT COLUMNS ROWS [seed]

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr int kMaxColumns = 257;  // what the reader takes; more would only be cut off
constexpr std::int64_t kMaxRows = 100'000'000;
constexpr std::size_t kFlushBytes = std::size_t{1} << 20;

// splitmix64: small, fast, and well-mixed enough for synthetic data.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, bound) for bound > 0; the modulo bias is irrelevant here.
  std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

 private:
  std::uint64_t state_;
};

// How one parameter column writes its numbers.
struct ColumnStyle {
  int intDigits;  // 0 writes "0.xxx"
  int decimals;
  bool signedValues;
};

constexpr std::uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                                    100000, 1000000, 10000000, 100000000, 1000000000};

// Appends the integer magnitude with a decimal point before the last `decimals` digits.
void AppendFixed(std::string& out, std::uint64_t magnitude, int decimals, bool negative) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
  if (ec != std::errc{}) return;
  std::string_view text(digits, static_cast<std::size_t>(end - digits));
  if (negative && magnitude != 0) out.push_back('-');
  const auto dec = static_cast<std::size_t>(decimals);
  if (dec == 0) {
    out.append(text);
    return;
  }
  if (text.size() <= dec) {
    out.append("0.");
    out.append(dec - text.size(), '0');
    out.append(text);
    return;
  }
  out.append(text.substr(0, text.size() - dec));
  out.push_back('.');
  out.append(text.substr(text.size() - dec));
}

bool ParseInt(const char* text, std::int64_t lo, std::int64_t hi, std::int64_t& value) {
  const std::string_view s(text);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc{} && end == s.data() + s.size() && value >= lo && value <= hi;
}

bool ParseSeed(const char* text, std::uint64_t& value) {
  const std::string_view s(text);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc{} && end == s.data() + s.size();
}

class Output {
 public:
  explicit Output(std::FILE* file) : file_(file) { buffer_.reserve(kFlushBytes + 65536); }
  std::string& buffer() { return buffer_; }
  void MaybeFlush() {
    if (buffer_.size() >= kFlushBytes) Flush();
  }
  void Flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
      failed_ = true;
    buffer_.clear();
  }
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
};

void WriteDescription(std::string& out, int columns, std::int64_t rows, std::uint64_t seed) {
  out += "/* DATA DESCRIPTION:\n";
  out += "Citation:\tSynthetic, A; Generator, B (2024): Benchmark profile with ";
  out += std::to_string(columns - 1) + " parameters and " + std::to_string(rows) + " rows\n";
  out += "Project(s):\tLoading benchmark\n";
  out += "Coverage:\tDEPTH, water: 0.00 m (MIN) - " + std::to_string(rows / 50) + " m (MAX)\n";
  out += "Event:\tBENCH-" + std::to_string(seed) + " * LATITUDE: 53.5400 * LONGITUDE: 8.5800\n";
  out += "Event(s):\tBENCH-" + std::to_string(seed) + "\n";
  out += "Parameter(s):\tDepth [m]; synthetic parameters in varied units\n";
  out += "License:\tFree for testing\n";
  out += "Size:\t" + std::to_string(static_cast<std::int64_t>(columns) * rows) + " data points\n";
  out += "Comment:\tValues are pseudo-random; about 2% of cells are empty, 1% flagged\n";
  out += "*/\n";
}

void WriteHeader(std::string& out, int columns) {
  static constexpr const char* kUnits[] = {"[mg/l]", "[°C]",  "[%]",  "[µmol/kg]",
                                           "[m/s]",  "[psu]", "[ppm]"};
  out += "Depth [m]";
  for (int c = 1; c < columns; ++c) {
    out += "\tParam " + std::to_string(c) + " ";
    out += kUnits[static_cast<std::size_t>(c - 1) % std::size(kUnits)];
  }
  out += '\n';
}

}  // namespace

int main(int argc, char** argv) {
  std::int64_t columns = 0;
  std::int64_t rows = 0;
  std::uint64_t seed = 20240601;
  if (argc < 4 || argc > 5 || !ParseInt(argv[2], 2, kMaxColumns, columns) ||
      !ParseInt(argv[3], 1, kMaxRows, rows) || (argc == 5 && !ParseSeed(argv[4], seed))) {
    std::fprintf(stderr,
                 "usage: generate_data OUT COLUMNS ROWS [seed]\n"
                 "  COLUMNS 2..%d (the depth column included), ROWS 1..%lld\n",
                 kMaxColumns, static_cast<long long>(kMaxRows));
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }

  Random random(seed);
  const int columnCount = static_cast<int>(columns);
  std::vector<ColumnStyle> styles(static_cast<std::size_t>(columnCount));
  for (int c = 1; c < columnCount; ++c) {
    ColumnStyle& s = styles[static_cast<std::size_t>(c)];
    s.intDigits = static_cast<int>(random.Below(6));  // 0 .. 5
    s.decimals = static_cast<int>(random.Below(5));   // 0 .. 4
    if (s.intDigits == 0 && s.decimals == 0) s.decimals = 3;
    s.signedValues = random.Below(4) == 0;
  }

  Output output(file);
  WriteDescription(output.buffer(), columnCount, rows, seed);
  WriteHeader(output.buffer(), columnCount);

  static constexpr char kFlags[] = {'/', '*', '?', '#', '<', '>'};
  std::uint64_t depthCentimetres = 0;
  for (std::int64_t r = 0; r < rows; ++r) {
    std::string& out = output.buffer();
    depthCentimetres += 1 + random.Below(3);  // strictly ascending, uneven steps
    AppendFixed(out, depthCentimetres, 2, false);
    for (int c = 1; c < columnCount; ++c) {
      out.push_back('\t');
      const std::uint64_t roll = random.Below(1000);
      if (roll < 20) continue;                                                // ~2% empty cells
      if (roll < 30) out.push_back(kFlags[random.Below(std::size(kFlags))]);  // ~1% flagged
      const ColumnStyle& s = styles[static_cast<std::size_t>(c)];
      // One integer digit less on some cells, so magnitudes vary within a column too.
      const int intDigits = s.intDigits > 0 ? s.intDigits - static_cast<int>(random.Below(2)) : 0;
      const int digits = intDigits + s.decimals > 0 ? intDigits + s.decimals : 1;
      const std::uint64_t bound = kPow10[static_cast<std::size_t>(digits)];
      const bool negative = s.signedValues && random.Below(2) == 0;
      AppendFixed(out, random.Below(bound), s.decimals, negative);
    }
    out.push_back('\n');
    output.MaybeFlush();
  }
  output.Flush();
  const bool closeFailed = std::fclose(file) != 0;
  if (output.failed() || closeFailed) {
    std::fprintf(stderr, "generate_data: writing %s failed\n", argv[1]);
    return 1;
  }
  return 0;
}
