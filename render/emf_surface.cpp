#include "render/emf_surface.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/atomic_file.h"
#include "core/device_int.h"
#include "core/utf8.h"

namespace sx {
namespace {

// Record types.
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrPolygon = 3;
constexpr std::uint32_t kEmrPolyline = 4;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrSetMapMode = 17;
constexpr std::uint32_t kEmrSetBkMode = 18;
constexpr std::uint32_t kEmrSetTextAlign = 22;
constexpr std::uint32_t kEmrSetTextColor = 24;
constexpr std::uint32_t kEmrSetBkColor = 25;
constexpr std::uint32_t kEmrSelectObject = 37;
constexpr std::uint32_t kEmrCreatePen = 38;
constexpr std::uint32_t kEmrCreateBrushIndirect = 39;
constexpr std::uint32_t kEmrDeleteObject = 40;
constexpr std::uint32_t kEmrEllipse = 42;
constexpr std::uint32_t kEmrStretchDiBits = 81;
constexpr std::uint32_t kEmrExtCreateFontIndirectW = 82;
constexpr std::uint32_t kEmrExtTextOutW = 84;
constexpr std::uint32_t kEmrExtCreatePen = 95;

// Stock objects.
constexpr std::uint32_t kWhiteBrush = 0x80000000u;
constexpr std::uint32_t kBlackPen = 0x80000007u;
constexpr std::uint32_t kDeviceDefaultFont = 0x8000000Eu;

constexpr std::uint32_t kPsSolid = 0, kPsDash = 1, kPsGeometric = 0x00010000u;
constexpr std::uint32_t kOpaque = 2;
constexpr std::uint32_t kMmText = 1;
constexpr std::uint32_t kGmAdvanced = 2;
constexpr std::uint32_t kSrcCopy = 0x00CC0020u;

// Reference device: a 16 x 12 inch screen of the surface's resolution.
constexpr std::int32_t kReferenceMmX = 406, kReferenceMmY = 305;
constexpr std::int32_t kReferenceUmX = 406400, kReferenceUmY = 304800;

constexpr std::size_t kHeaderSize = 108;  // with both header extensions
constexpr std::uint64_t kMaxFileSize = 0xFFFF0000u;

const char16_t kDescription[] = u"Sondrix Metafile\0\0";
constexpr std::uint32_t kDescriptionChars = 18;  // the text, its terminator and the final one

std::uint32_t ColorRef(RGB c) {
  return c.red | (static_cast<std::uint32_t>(c.green) << 8) |
         (static_cast<std::uint32_t>(c.blue) << 16);
}

float SaneDpi(float dpi) {
  return std::isfinite(dpi) && dpi >= 1.0f && dpi <= 1e5f ? dpi : 96.0f;
}

// Decodes one code point at text[i]; returns it and advances i. Broken sequences yield U+FFFD
// and advance by one byte.
char32_t DecodeAt(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  std::size_t len = 0;
  char32_t cp = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c < 0x80) {
    ++i;
    return c;
  } else if (c >= 0xC2 && c <= 0xDF) {
    len = 2, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3, cp = c & 0x0F;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4, cp = c & 0x07;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + len > text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char b = byte(i + k);
    if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += len;
  return cp;
}

void AppendUtf16(char32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

std::int32_t EmHeight(const FontSpec& font) {
  const double h = std::fabs(static_cast<double>(font.height));
  // A positive height is the cell height: the em is the part without internal leading.
  return font.height < 0 ? ToInt32(h) : ToInt32(h / 1.15 + 0.5);
}

}  // namespace

// Little-endian record under construction; its size field is filled in by Append.
class EmfSurface::Record {
 public:
  explicit Record(std::uint32_t type) {
    U32(type);
    U32(0);
  }
  void U32(std::uint32_t v) {
    for (int k = 0; k < 4; ++k) data_.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void U16(std::uint16_t v) {
    data_.push_back(static_cast<std::uint8_t>(v));
    data_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void U8(std::uint8_t v) { data_.push_back(v); }
  void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
  void Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    I32(l), I32(t), I32(r), I32(b);
  }
  void Zeros(std::size_t n) { data_.insert(data_.end(), n, 0); }
  void Pad4() { Zeros((4 - data_.size() % 4) % 4); }
  std::size_t size() const { return data_.size(); }
  const std::vector<std::uint8_t>& data() const { return data_; }
  void Patch32(std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) data_[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
  }

 private:
  std::vector<std::uint8_t> data_;
};

EmfTextMetrics DeterministicTextMetrics() {
  // Same formulas as RecordingSurface, so that a drawing measures alike on both surfaces.
  EmfTextMetrics m;
  m.lineHeight = [](const FontSpec& font) { return ToInt32(1.15 * EmHeight(font) + 0.5); };
  m.textWidth = [](const FontSpec& font, std::string_view text) {
    const std::int32_t advance = std::max(1, ToInt32(0.55 * EmHeight(font) + 0.5));
    return ToInt32(static_cast<double>(advance) * static_cast<double>(Utf8Length(text)));
  };
  return m;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUtf16(DecodeAt(text, i), out);
  return out;
}

EmfSurface::Frame EmfSurface::FrameFor(std::int32_t width, std::int32_t height, float dpiX) {
  const std::int64_t deviceX = std::max(1, ToInt32(16.0 * SaneDpi(dpiX)));
  const std::int64_t k = kReferenceMmX * 100 / deviceX;
  Frame f;
  f.right = ToInt32(static_cast<double>(std::max(width, 0)) * static_cast<double>(k) * 1.015);
  f.bottom = ToInt32(static_cast<double>(std::max(height, 0)) * static_cast<double>(k) * 1.015);
  return f;
}

EmfSurface::EmfSurface(std::int32_t width, std::int32_t height, float dpiX, float dpiY,
                       EmfTextMetrics metrics)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      dpiX_(SaneDpi(dpiX)),
      dpiY_(SaneDpi(dpiY)),
      metrics_(std::move(metrics)),
      handleUsed_(1, true) {
  const EmfTextMetrics fallback = DeterministicTextMetrics();
  if (!metrics_.lineHeight) metrics_.lineHeight = fallback.lineHeight;
  if (!metrics_.textWidth) metrics_.textWidth = fallback.textWidth;

  Record mapMode(kEmrSetMapMode);
  mapMode.U32(kMmText);
  Append(mapMode);
  Record bkMode(kEmrSetBkMode);
  bkMode.U32(kOpaque);
  Append(bkMode);
  Record bkColor(kEmrSetBkColor);
  bkColor.U32(0x00FFFFFFu);
  Append(bkColor);
  Record textColor(kEmrSetTextColor);
  textColor.U32(0);
  Append(textColor);
  Record align(kEmrSetTextAlign);
  align.U32(0);  // TA_TOP | TA_LEFT | TA_NOUPDATECP
  Append(align);
  Select(kWhiteBrush);
  Select(kBlackPen);
}

void EmfSurface::Append(const Record& record) {
  if (truncated_ || kHeaderSize + 64 + records_.size() + record.size() > kMaxFileSize) {
    truncated_ = true;
    return;
  }
  const std::size_t at = records_.size();
  records_.insert(records_.end(), record.data().begin(), record.data().end());
  const auto size = static_cast<std::uint32_t>(record.size());
  for (int k = 0; k < 4; ++k) records_[at + 4 + k] = static_cast<std::uint8_t>(size >> (8 * k));
  ++recordCount_;
}

std::uint32_t EmfSurface::NewHandle() {
  std::uint32_t i = 1;
  while (i < handleUsed_.size() && handleUsed_[i]) ++i;
  if (i == handleUsed_.size()) handleUsed_.push_back(true);
  handleUsed_[i] = true;
  maxHandle_ = std::max(maxHandle_, i);
  return i;
}

void EmfSurface::FreeHandle(std::uint32_t index) {
  if (index > 0 && index < handleUsed_.size()) handleUsed_[index] = false;
}

void EmfSurface::Select(std::uint32_t object) {
  Record r(kEmrSelectObject);
  r.U32(object);
  Append(r);
}

void EmfSurface::Delete(std::uint32_t index) {
  Record r(kEmrDeleteObject);
  r.U32(index);
  Append(r);
  FreeHandle(index);
}

std::uint32_t EmfSurface::CreatePen(std::int32_t width, RGB color, PenStyle style) {
  const std::uint32_t h = NewHandle();
  width = std::max(width, 0);
  if (style == PenStyle::kDash && width > 1) {
    // A plain dashed pen is drawn solid above one pixel; a geometric pen keeps its dashes.
    Record r(kEmrExtCreatePen);
    r.U32(h);
    r.U32(0), r.U32(0), r.U32(0), r.U32(0);  // no brush bitmap
    r.U32(kPsGeometric | kPsDash);
    r.U32(static_cast<std::uint32_t>(width));
    r.U32(0);  // BS_SOLID
    r.U32(ColorRef(color));
    r.U32(0);  // hatch
    r.U32(0);  // no custom style entries
    Append(r);
  } else {
    Record r(kEmrCreatePen);
    r.U32(h);
    r.U32(style == PenStyle::kDash ? kPsDash : kPsSolid);
    r.I32(width), r.I32(0);
    r.U32(ColorRef(color));
    Append(r);
  }
  Select(h);
  return h;
}

std::uint32_t EmfSurface::CreateBrush(RGB color) {
  const std::uint32_t h = NewHandle();
  Record r(kEmrCreateBrushIndirect);
  r.U32(h);
  r.U32(0);  // BS_SOLID
  r.U32(ColorRef(color));
  r.U32(0);
  Append(r);
  Select(h);
  return h;
}

void EmfSurface::ReleasePenAndBrush(std::uint32_t pen, std::uint32_t brush) {
  Select(kBlackPen);
  Delete(pen);
  if (brush != 0) {
    Select(kWhiteBrush);
    Delete(brush);
  }
}

void EmfSurface::AddBounds(std::int64_t left, std::int64_t top, std::int64_t right,
                           std::int64_t bottom) {
  if (!hasBounds_) {
    boundsLeft_ = left, boundsTop_ = top, boundsRight_ = right, boundsBottom_ = bottom;
    hasBounds_ = true;
    return;
  }
  boundsLeft_ = std::min(boundsLeft_, left);
  boundsTop_ = std::min(boundsTop_, top);
  boundsRight_ = std::max(boundsRight_, right);
  boundsBottom_ = std::max(boundsBottom_, bottom);
}

void EmfSurface::Poly(std::uint32_t type, std::span<const DevicePoint> points) {
  std::int32_t l = points[0].x, t = points[0].y, r = l, b = t;
  for (const DevicePoint& p : points) {
    l = std::min(l, p.x), t = std::min(t, p.y), r = std::max(r, p.x), b = std::max(b, p.y);
  }
  AddBounds(l, t, r, b);
  Record rec(type);
  rec.Rect(l, t, r, b);
  rec.U32(static_cast<std::uint32_t>(points.size()));
  for (const DevicePoint& p : points) rec.I32(p.x), rec.I32(p.y);
  Append(rec);
}

void EmfSurface::Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                          PenStyle style) {
  if (points.size() < 2 || points.size() > kMaxFileSize / 8) return;
  const std::uint32_t pen = CreatePen(width, color, style);
  Poly(kEmrPolyline, points);
  ReleasePenAndBrush(pen, 0);
}

void EmfSurface::Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                         Fill fill) {
  if (points.size() < 2 || points.size() > kMaxFileSize / 8) return;
  const std::uint32_t pen = CreatePen(width, color, PenStyle::kSolid);
  const std::uint32_t brush = fill == Fill::kColor ? CreateBrush(color) : 0;
  Poly(kEmrPolygon, points);
  ReleasePenAndBrush(pen, brush);
}

void EmfSurface::Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom, std::int32_t width, RGB color, Fill fill) {
  const std::uint32_t pen = CreatePen(width, color, PenStyle::kSolid);
  const std::uint32_t brush = fill == Fill::kColor ? CreateBrush(color) : 0;
  AddBounds(std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom));
  Record r(kEmrEllipse);
  r.Rect(left, top, right, bottom);
  Append(r);
  ReleasePenAndBrush(pen, brush);
}

void EmfSurface::MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                                  std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                                  std::int32_t copyHeight) {
  if (bits == nullptr) return;
  // Two bytes a row hold at most 16 pixels; a tile has at most 16 rows. The DIB holds just the
  // copied part, so source and destination are the whole bitmap.
  const std::int32_t w = std::min({width, copyWidth, 16});
  const std::int32_t h = std::min({height, copyHeight, 16});
  if (w <= 0 || h <= 0) return;
  constexpr std::uint32_t kInfoSize = 40 + 2 * 4;  // header and two palette entries
  constexpr std::uint32_t kStride = 4;             // 16 pixels, padded to 32 bits
  const auto rows = static_cast<std::uint32_t>(h);
  const std::uint32_t mask = 0xFFFFu << (16 - w);
  AddBounds(x, y, static_cast<std::int64_t>(x) + w - 1, static_cast<std::int64_t>(y) + h - 1);

  Record r(kEmrStretchDiBits);
  r.Rect(x, Saturate32(static_cast<std::int64_t>(y)),
         Saturate32(static_cast<std::int64_t>(x) + w - 1),
         Saturate32(static_cast<std::int64_t>(y) + h - 1));
  r.I32(x), r.I32(y);
  r.I32(0), r.I32(0), r.I32(w), r.I32(h);  // source rectangle
  r.U32(80), r.U32(kInfoSize);             // the bitmap info follows the fixed part
  r.U32(80 + kInfoSize), r.U32(kStride * rows);
  r.U32(0);  // DIB_RGB_COLORS
  r.U32(kSrcCopy);
  r.I32(w), r.I32(h);
  // BITMAPINFOHEADER: bottom-up, one plane, one bit per pixel, no compression.
  r.U32(40), r.I32(w), r.I32(h), r.U16(1), r.U16(1), r.U32(0), r.U32(kStride * rows);
  r.I32(0), r.I32(0), r.U32(2), r.U32(0);
  r.U32(0x00000000u);  // index 0: black
  r.U32(0x00FFFFFFu);  // index 1: white
  for (std::int32_t row = h - 1; row >= 0; --row) {
    const std::uint32_t word =
        ((static_cast<std::uint32_t>(bits[2 * row]) << 8) | bits[2 * row + 1]) & mask;
    r.U8(static_cast<std::uint8_t>(word >> 8)), r.U8(static_cast<std::uint8_t>(word));
    r.U8(0), r.U8(0);
  }
  Append(r);
}

void EmfSurface::SelectFont(const FontSpec& font) {
  const std::uint32_t previous = fontHandle_;
  font_ = font;
  fontHandle_ = NewHandle();
  Record r(kEmrExtCreateFontIndirectW);
  r.U32(fontHandle_);
  // LOGFONTW
  r.I32(font.height), r.I32(0);
  r.I32(font.escapement), r.I32(font.escapement);
  r.I32(font.bold ? 700 : 0);
  r.U8(font.italic), r.U8(font.underline), r.U8(font.strikeOut);
  r.U8(0), r.U8(0), r.U8(0), r.U8(0), r.U8(0);  // charset, precisions, quality, pitch
  std::u16string face = Utf8ToUtf16(font.face);
  if (face.size() > 31) {
    // Keep room for the terminator without splitting a surrogate pair.
    const bool splitsPair = face[30] >= 0xD800 && face[30] <= 0xDBFF;
    face.resize(splitsPair ? 30 : 31);
  }
  for (char16_t c : face) r.U16(c);
  r.Zeros(2 * (32 - face.size()));
  // The rest of the panose form of the font record: full name, style, version, style size,
  // match, reserved, vendor, culture, panose and padding, all unused.
  r.Zeros(128 + 64 + 6 * 4 + 10 + 2);
  Append(r);
  Select(fontHandle_);
  // The previous font is no longer selected, so it can go now.
  if (previous != 0) Delete(previous);
}

std::int32_t EmfSurface::FontLineHeight() {
  return metrics_.lineHeight(font_);
}

std::int32_t EmfSurface::TextWidth(std::string_view text) {
  return metrics_.textWidth(font_, text);
}

void EmfSurface::Text(std::int32_t x, std::int32_t y, std::string_view text, TextAlign align) {
  if (text.empty() || text.size() > (kMaxFileSize - 200) / 8) return;
  if (fontHandle_ == 0) SelectFont(font_);
  if (align != emittedAlign_) {
    Record r(kEmrSetTextAlign);
    r.U32(align == TextAlign::kRightTop ? 2u : align == TextAlign::kCenterTop ? 6u : 0u);
    Append(r);
    emittedAlign_ = align;
  }

  // Text and the advance of every UTF-16 unit; the second unit of a pair advances nothing.
  std::u16string units;
  std::vector<std::int32_t> dx;
  const std::size_t chars = Utf8Length(text);
  const std::int32_t total = metrics_.textWidth(font_, text);
  std::int32_t before = 0;
  std::size_t index = 0;
  for (std::size_t i = 0; i < text.size(); ++index) {
    const std::size_t start = units.size();
    AppendUtf16(DecodeAt(text, i), units);
    // Measuring every prefix is quadratic; long texts share the width evenly instead.
    const std::int32_t upTo =
        chars <= 256 ? metrics_.textWidth(font_, text.substr(0, i))
                     : ToInt32(static_cast<double>(total) * static_cast<double>(index + 1) /
                               static_cast<double>(chars));
    dx.push_back(upTo - before);
    before = upTo;
    if (units.size() - start == 2) dx.push_back(0);
  }

  // Bounds: the text box turned about the reference point by the escapement.
  const double w = std::max(total, 0), h = std::max(metrics_.lineHeight(font_), 0);
  const double x0 = align == TextAlign::kRightTop    ? -w
                    : align == TextAlign::kCenterTop ? -w / 2
                                                     : 0;
  const double angle = font_.escapement * 3.14159265358979 / 1800.0;
  const double c = std::cos(angle), s = std::sin(angle);
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool first = true;
  for (double px : {x0, x0 + w}) {
    for (double py : {0.0, h}) {
      const double rx = px * c + py * s, ry = -px * s + py * c;
      minX = first ? rx : std::min(minX, rx), maxX = first ? rx : std::max(maxX, rx);
      minY = first ? ry : std::min(minY, ry), maxY = first ? ry : std::max(maxY, ry);
      first = false;
    }
  }
  const std::int64_t bl = x + ToInt64(std::floor(minX)), bt = y + ToInt64(std::floor(minY));
  const std::int64_t br = x + ToInt64(std::ceil(maxX)), bb = y + ToInt64(std::ceil(maxY));
  AddBounds(bl, bt, br, bb);

  const auto n = static_cast<std::uint32_t>(units.size());
  const std::uint32_t stringOffset = 76;
  const std::uint32_t dxOffset = stringOffset + (2 * n + 3) / 4 * 4;
  Record r(kEmrExtTextOutW);
  r.Rect(Saturate32(bl), Saturate32(bt), Saturate32(br), Saturate32(bb));
  r.U32(kGmAdvanced);
  r.F32(0.0f), r.F32(0.0f);
  // EMRTEXT
  r.I32(x), r.I32(y);
  r.U32(n), r.U32(stringOffset);
  r.U32(0);              // no clipping, no opaque rectangle
  r.Rect(0, 0, -1, -1);  // empty rectangle
  r.U32(dxOffset);
  for (char16_t u : units) r.U16(u);
  r.Pad4();
  for (std::int32_t d : dx) r.I32(d);
  Append(r);
}

std::string EmfSurface::bytes() const {
  // Closing records: the current font is deselected and deleted like every other object.
  std::vector<std::uint8_t> tail;
  std::uint32_t tailRecords = 0;
  const auto put = [&](std::initializer_list<std::uint32_t> words) {
    for (std::uint32_t v : words) {
      for (int k = 0; k < 4; ++k) tail.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    }
    ++tailRecords;
  };
  if (fontHandle_ != 0) {
    put({kEmrSelectObject, 12, kDeviceDefaultFont});
    put({kEmrDeleteObject, 12, fontHandle_});
  }
  put({kEmrEof, 20, 0, 16, 20});

  Record head(kEmrHeader);
  if (hasBounds_) {
    head.Rect(Saturate32(boundsLeft_), Saturate32(boundsTop_), Saturate32(boundsRight_),
              Saturate32(boundsBottom_));
  } else {
    head.Rect(0, 0, -1, -1);
  }
  const Frame frame = FrameFor(width_, height_, dpiX_);
  head.Rect(0, 0, frame.right, frame.bottom);
  head.U32(0x464D4520u);  // " EMF"
  head.U32(0x00010000u);
  const std::size_t descriptionBytes = (2 * kDescriptionChars + 3) / 4 * 4;
  const std::uint64_t total = kHeaderSize + descriptionBytes + records_.size() + tail.size();
  head.U32(static_cast<std::uint32_t>(total));
  head.U32(recordCount_ + tailRecords + 1);
  head.U16(static_cast<std::uint16_t>(std::min<std::uint32_t>(maxHandle_ + 1, 0xFFFF)));
  head.U16(0);
  head.U32(kDescriptionChars);
  head.U32(static_cast<std::uint32_t>(kHeaderSize));
  head.U32(0);  // no palette
  head.I32(std::max(1, ToInt32(16.0 * dpiX_))), head.I32(std::max(1, ToInt32(12.0 * dpiY_)));
  head.I32(kReferenceMmX), head.I32(kReferenceMmY);
  head.U32(0), head.U32(0), head.U32(0);  // no pixel format, no OpenGL
  head.I32(kReferenceUmX), head.I32(kReferenceUmY);
  for (std::uint32_t i = 0; i < kDescriptionChars; ++i) head.U16(kDescription[i]);
  head.Pad4();
  head.Patch32(4, static_cast<std::uint32_t>(head.size()));

  std::string out;
  out.reserve(static_cast<std::size_t>(total));
  out.append(head.data().begin(), head.data().end());
  out.append(records_.begin(), records_.end());
  out.append(tail.begin(), tail.end());
  return out;
}

bool EmfSurface::WriteEmf(const std::string& path, const std::string& openDataFile,
                          std::string* error) const {
  return WriteFileAtomically(path, bytes(), openDataFile, error);
}

}  // namespace sx
