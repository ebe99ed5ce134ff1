#include "platform/png_encoder.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
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

// One band of rows [y0, y1) filtered and deflated as raw deflate data that a band after it can
// follow: the last band ends the stream, the others end on a byte boundary. `adler` gets the
// checksum of the filtered bytes.
bool EncodeBand(const PngPicture& picture, std::int32_t y0, std::int32_t y1, bool last,
                std::string& out, uLong& adler) {
  const std::int32_t w = picture.width;
  const std::size_t rowBytes = 3 * static_cast<std::size_t>(w);
  z_stream z{};
  if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK) return false;
  // The compressor's memory goes back however the band ends (what deflateEnd says of a band
  // that leaves the stream open for the next is of no interest).
  struct EndStream {
    z_stream& z;
    ~EndStream() { deflateEnd(&z); }
  } ender{z};
  adler = adler32(0L, Z_NULL, 0);
  std::vector<std::uint8_t> buffer(std::size_t{1} << 18);
  // Feeds one filtered row (ending the band after its last) and collects what comes out.
  const auto feed = [&](std::vector<std::uint8_t>& in, bool end) {
    adler = adler32(adler, in.data(), static_cast<uInt>(in.size()));
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(in.size());
    const int flush = !end ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      const int r = deflate(&z, flush);
      if (r == Z_STREAM_ERROR) return false;
      out.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
      if (flush == Z_FINISH ? r == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0)) {
        return true;
      }
      if (r == Z_BUF_ERROR && z.avail_out > 0) return false;  // no progress possible
    }
  };
  const auto toRgb = [w](const std::uint32_t* row, std::vector<std::uint8_t>& rgb) {
    for (std::int32_t x = 0; x < w; ++x) {
      const std::uint32_t p = row[x];
      std::uint8_t* c = &rgb[3 * static_cast<std::size_t>(x)];
      c[0] = static_cast<std::uint8_t>(p >> 16);
      c[1] = static_cast<std::uint8_t>(p >> 8);
      c[2] = static_cast<std::uint8_t>(p);
    }
  };
  const auto rowAt = [&picture](std::int32_t y) {
    return picture.pixels + static_cast<std::int64_t>(y) * picture.stride;
  };

  // Rows as RGB bytes: the previous one for "Up", and the two filtered candidates.
  std::vector<std::uint8_t> previous(rowBytes, 0), current(rowBytes), sub(rowBytes + 1),
      up(rowBytes + 1);
  if (y0 > 0) toRgb(rowAt(y0 - 1), previous);
  sub[0] = 1;
  up[0] = 2;
  bool ok = true;
  std::vector<std::uint8_t> repeat(rowBytes + 1, 0);
  repeat[0] = 2;  // "Up" of a row equal to the one above: all zeros
  for (std::int32_t y = y0; y < y1 && ok; ++y) {
    const std::uint32_t* row = rowAt(y);
    // Plots repeat rows (margins, the stretches between grid lines); such a row costs a compare.
    if (y > 0 && std::memcmp(row, row - picture.stride, 4 * static_cast<std::size_t>(w)) == 0) {
      ok = feed(repeat, y + 1 == y1);
      continue;  // `previous` still holds this very row
    }
    toRgb(row, current);
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
    ok = feed(upCost <= subCost ? up : sub, y + 1 == y1);
    previous.swap(current);
  }
  return ok;
}

}  // namespace

bool EncodePng(const PngPicture& picture, std::string& out) {
  const std::int32_t w = picture.width, h = picture.height;
  if (picture.pixels == nullptr || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide ||
      picture.stride < w) {
    return false;
  }
  // A large picture is packed in two bands at once; the bands depend on the picture alone, so
  // the file does too.
  const bool twoBands = h >= 2 && static_cast<std::int64_t>(w) * h >= (std::int64_t{1} << 18);
  const std::int32_t middle = twoBands ? h / 2 : h;
  std::string first, second;
  uLong firstAdler = 0, secondAdler = 0;
  bool secondOk = true;
  std::thread worker;
  if (twoBands) {
    try {
      worker = std::thread([&] {
        try {
          secondOk = EncodeBand(picture, middle, h, true, second, secondAdler);
        } catch (const std::bad_alloc&) {
          secondOk = false;
        }
      });
    } catch (const std::system_error&) {
      secondOk = EncodeBand(picture, middle, h, true, second, secondAdler);
    }
  }
  bool firstOk = false;
  try {
    firstOk = EncodeBand(picture, 0, middle, !twoBands, first, firstAdler);
  } catch (const std::bad_alloc&) {
    firstOk = false;
  }
  if (worker.joinable()) worker.join();
  if (!firstOk || !secondOk) return false;

  // The zlib stream: header (deflate, 32 KiB window, fastest), the bands, the checksum.
  std::string idat("\x78\x01", 2);
  idat += first;
  idat += second;
  const std::size_t secondBytes =
      static_cast<std::size_t>(h - middle) * (3 * static_cast<std::size_t>(w) + 1);
  const uLong adler =
      twoBands ? adler32_combine(firstAdler, secondAdler, static_cast<z_off_t>(secondBytes))
               : firstAdler;
  PutU32(idat, static_cast<std::uint32_t>(adler));

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
