#include "platform/png_encoder.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace sx {
namespace {

constexpr std::int32_t kMaxSide = 0x7FFFFFFF / 4;  // keeps a row's bytes within an int

void PutU32(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v >> 24));
  out.push_back(static_cast<char>((v >> 16) & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
  out.push_back(static_cast<char>(v & 0xFF));
}

void PutChunk(std::string& out, const char type[4], const std::uint8_t* data, std::size_t size) {
  PutU32(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out.size();
  out.append(type, 4);
  if (size > 0) out.append(reinterpret_cast<const char*>(data), size);
  const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
  PutU32(out, static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(size + 4))));
}

}  // namespace

bool EncodePng(const PngPicture& picture, std::string& out) {
  const std::int32_t w = picture.width, h = picture.height;
  if (picture.pixels == nullptr || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide ||
      picture.stride < w) {
    return false;
  }
  const std::size_t rowBytes = 3 * static_cast<std::size_t>(w);

  z_stream z{};
  if (deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return false;
  std::string idat;
  std::vector<std::uint8_t> buffer(std::size_t{1} << 18);
  // Feeds one filtered row (flushing everything after the last) and collects what comes out.
  const auto feed = [&](std::vector<std::uint8_t>& in, bool last) {
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(in.size());
    for (;;) {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      const int r = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
      if (r == Z_STREAM_ERROR) return false;
      idat.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
      if (last ? r == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0)) return true;
      if (r == Z_BUF_ERROR && z.avail_out > 0) return false;  // no progress possible
    }
  };

  // Rows as RGB bytes: the previous one for "Up", and the two filtered candidates.
  std::vector<std::uint8_t> previous(rowBytes, 0), current(rowBytes), sub(rowBytes + 1),
      up(rowBytes + 1);
  sub[0] = 1;
  up[0] = 2;
  bool ok = true;
  std::vector<std::uint8_t> repeat(rowBytes + 1, 0);
  repeat[0] = 2;  // "Up" of a row equal to the one above: all zeros
  for (std::int32_t y = 0; y < h && ok; ++y) {
    const std::uint32_t* row = picture.pixels + static_cast<std::int64_t>(y) * picture.stride;
    // Plots repeat rows (margins, the stretches between grid lines); such a row costs a compare.
    if (y > 0 && std::memcmp(row, row - picture.stride, 4 * static_cast<std::size_t>(w)) == 0) {
      ok = feed(repeat, y + 1 == h);
      continue;  // `previous` still holds this very row
    }
    for (std::int32_t x = 0; x < w; ++x) {
      const std::uint32_t p = row[x];
      std::uint8_t* c = &current[3 * static_cast<std::size_t>(x)];
      c[0] = static_cast<std::uint8_t>(p >> 16);
      c[1] = static_cast<std::uint8_t>(p >> 8);
      c[2] = static_cast<std::uint8_t>(p);
    }
    // The filter whose bytes, read as signed, sum to less (the usual estimate of what packs
    // better).
    std::uint64_t subCost = 0, upCost = 0;
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const auto s = static_cast<std::uint8_t>(current[i] - (i >= 3 ? current[i - 3] : 0));
      const auto u = static_cast<std::uint8_t>(current[i] - previous[i]);
      sub[i + 1] = s;
      up[i + 1] = u;
      subCost += s < 128 ? s : 256 - s;
      upCost += u < 128 ? u : 256 - u;
    }
    ok = feed(upCost <= subCost ? up : sub, y + 1 == h);
    previous.swap(current);
  }
  if (deflateEnd(&z) != Z_OK || !ok) return false;

  std::string file("\x89PNG\r\n\x1a\n", 8);
  std::uint8_t header[13] = {};
  for (int i = 0; i < 4; ++i) {
    header[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(w) >> (24 - 8 * i));
    header[4 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(h) >> (24 - 8 * i));
  }
  header[8] = 8;  // bits per channel
  header[9] = 2;  // truecolour
  PutChunk(file, "IHDR", header, sizeof header);
  if (picture.dotsPerMeter > 0) {
    std::uint8_t phys[9] = {};
    const auto d = static_cast<std::uint32_t>(picture.dotsPerMeter);
    for (int i = 0; i < 4; ++i)
      phys[i] = phys[4 + i] = static_cast<std::uint8_t>(d >> (24 - 8 * i));
    phys[8] = 1;  // per metre
    PutChunk(file, "pHYs", phys, sizeof phys);
  }
  PutChunk(file, "IDAT", reinterpret_cast<const std::uint8_t*>(idat.data()), idat.size());
  PutChunk(file, "IEND", nullptr, 0);
  out += file;
  return true;
}

}  // namespace sx
