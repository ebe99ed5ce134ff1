#include "render/emf_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>

#include "render/drawing.h"
#include "render/recording_surface.h"

#ifdef SONDRIX_HAVE_EMF2SVG
#include <emf2svg.h>
#endif

namespace sx {
namespace {

constexpr std::uint32_t kCreatePen = 38, kExtCreatePen = 95, kCreateBrush = 39, kCreateFont = 82;
constexpr std::uint32_t kSelect = 37, kDelete = 40, kEof = 14, kHeader = 1;
constexpr std::uint32_t kPolyline = 4, kPolygon = 3, kEllipse = 42, kStretchDiBits = 81;
constexpr std::uint32_t kTextOut = 84, kSetTextAlign = 22;

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
  return v;
}

std::int32_t I32(const std::string& b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

std::uint16_t U16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(U32(b + "  ", at));
}

struct Rec {
  std::uint32_t type = 0;
  std::size_t at = 0, size = 0;
};

// Walks the file strictly: record sizes, header counts, description, and the life of every
// object (created into a free slot, selected only while it exists, deleted before the end).
std::vector<Rec> Walk(const std::string& b) {
  std::vector<Rec> recs;
  EXPECT_GE(b.size(), 108u);
  if (b.size() < 108) return recs;
  for (std::size_t at = 0; at + 8 <= b.size();) {
    const Rec r{U32(b, at), at, U32(b, at + 4)};
    const bool sound = r.size >= 8 && r.size % 4 == 0 && at + r.size <= b.size();
    EXPECT_TRUE(sound) << "record " << recs.size() << " of size " << r.size;
    if (!sound) return recs;
    recs.push_back(r);
    at += r.size;
  }
  EXPECT_EQ(recs.front().type, kHeader);
  EXPECT_EQ(recs.back().type, kEof);
  EXPECT_EQ(recs.back().at + recs.back().size, b.size());
  EXPECT_EQ(U32(b, 40), 0x464D4520u);
  EXPECT_EQ(U32(b, 48), b.size());     // nBytes
  EXPECT_EQ(U32(b, 52), recs.size());  // nRecords
  const std::uint32_t handles = U16(b, 56);
  EXPECT_EQ(U32(b, 60), 18u);  // description characters
  std::u16string desc;
  for (std::uint32_t i = 0, off = U32(b, 64); i < 18 && off + 2 * i + 1 < b.size(); ++i) {
    desc += static_cast<char16_t>(U16(b, off + 2 * i));
  }
  EXPECT_EQ(desc, std::u16string(u"Sondrix Metafile\0\0", 18));

  std::set<std::uint32_t> live;
  std::uint32_t maxIndex = 0;
  for (const Rec& r : recs) {
    const std::uint32_t index = r.size >= 12 ? U32(b, r.at + 8) : 0;
    if (r.type == kCreatePen || r.type == kExtCreatePen || r.type == kCreateBrush ||
        r.type == kCreateFont) {
      EXPECT_TRUE(index >= 1 && live.insert(index).second) << "slot " << index << " in use";
      maxIndex = std::max(maxIndex, index);
    } else if (r.type == kSelect && (index & 0x80000000u) == 0) {
      EXPECT_TRUE(live.count(index)) << "select " << index;
    } else if (r.type == kDelete) {
      EXPECT_EQ(live.erase(index), 1u) << "delete " << index;
    }
  }
  EXPECT_TRUE(live.empty()) << live.size() << " objects never deleted";
  EXPECT_GE(handles, maxIndex + 1);
  return recs;
}

std::vector<Rec> OfType(const std::vector<Rec>& recs, std::uint32_t type) {
  std::vector<Rec> out;
  for (const Rec& r : recs) {
    if (r.type == type) out.push_back(r);
  }
  return out;
}

// One drawing through the plot primitives, for both surfaces.
void DrawSample(Surface& s) {
  DrawLine(s, 10, 10, 200, 10, 1, RGB{200, 0, 0});
  DrawDashedLine(s, 10, 20, 200, 20, 3, 1);
  DrawRectOutline(s, 20, 30, 120, 90, 2, RGB{0, 0, 200});
  FillRect(s, 30, 40, 60, 70, 1, RGB{0, 150, 0});
  for (std::int32_t code = 1; code <= 10; ++code) {
    DrawMarker(s, 30 * code, 150, RGB{0, 0, 0}, 6, 1, code);
  }
  SelectPlotFont(s, "Arial", 10, kFontBold, 0);
  DrawTextAt(s, "Depth", 50, 200, 0, 0);
  SelectPlotFont(s, "Arial", 12, 0, 90);
  DrawTextAt(s, "T [°C]", 20, 250, 0, 1);
  DrawTextAt(s, "δ18O ‰", 80, 250, 0, 2);
}

TEST(EmfSurface, FileIsWellFormedAndMatchesTheRecordedDrawing) {
  RecordingSurface rec(96.0f, 96.0f, true);
  EmfSurface emf(400, 300, 96.0f, 96.0f);
  DrawSample(rec);
  DrawSample(emf);
  EXPECT_TRUE(emf.OpaqueTextBackground());
  EXPECT_FALSE(emf.truncated());
  const std::string b = emf.bytes();
  const std::vector<Rec> recs = Walk(b);

  std::map<RecordingSurface::Kind, std::size_t> n;
  for (const auto& c : rec.calls()) ++n[c.kind];
  using K = RecordingSurface::Kind;
  for (const auto& [type, kind] : {std::pair{kPolyline, K::kPolyline},
                                   {kPolygon, K::kPolygon},
                                   {kEllipse, K::kEllipse},
                                   {kTextOut, K::kText},
                                   {kCreateFont, K::kFont}}) {
    EXPECT_EQ(OfType(recs, type).size(), n[kind]) << type;
  }
  EXPECT_GT(n[K::kEllipse], 0u);
  // Pens and brushes are recycled, so the object table stays small.
  EXPECT_LE(U16(b, 56), 4u);

  // Frame: 26 hundredths of a millimetre per pixel at 96 dpi, plus 1.5 % (truncated in
  // binary floating point, so 10556 becomes 10555).
  EXPECT_EQ(I32(b, 24), 0);
  EXPECT_EQ(I32(b, 32), 10555);
  EXPECT_EQ(I32(b, 36), 7916);
  // Reference device and its millimetres agree with the resolution; the bounds hold the drawing.
  EXPECT_NEAR(I32(b, 72) * 25.4 / I32(b, 80), 96.0, 0.5);
  EXPECT_NEAR(I32(b, 76) * 25.4 / I32(b, 84), 96.0, 0.5);
  EXPECT_TRUE(I32(b, 8) <= 10 && I32(b, 16) >= 300);

#ifdef SONDRIX_HAVE_EMF2SVG
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("");
  options.svgDelimiter = true;
  options.imgWidth = 400;
  options.imgHeight = 300;
  std::string copy = b;
  char* out = nullptr;
  std::size_t outLength = 0;
  ASSERT_EQ(emf2svg(copy.data(), copy.size(), &out, &outLength, &options), 1);
  const std::string svg(out, outLength);
  std::free(out);
  const auto count = [&svg](const std::string& what) {
    std::size_t k = 0;
    for (std::size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1)) ++k;
    return k;
  };
  EXPECT_EQ(count("<path"), n[K::kPolyline] + n[K::kPolygon]);
  EXPECT_EQ(count(" Z\""), n[K::kPolygon]);
  EXPECT_EQ(count("<ellipse"), n[K::kEllipse]);
  EXPECT_EQ(count("<text"), n[K::kText]);
  EXPECT_EQ(count("stroke-dasharray"), 1u);
  EXPECT_NE(svg.find("T [°C]"), std::string::npos);
  EXPECT_NE(svg.find("δ18O ‰"), std::string::npos);
  EXPECT_NE(svg.find("rotate(-90"), std::string::npos);
#else
  GTEST_SKIP() << "no independent metafile reader installed";
#endif
}

TEST(EmfSurface, TextIsUtf16WithAlignmentAndAdvances) {
  EXPECT_EQ(Utf8ToUtf16("°‰"), u"\u00B0\u2030");
  EXPECT_EQ(Utf8ToUtf16("a\xF0\x9F\x98\x80"), u"a\U0001F600");
  EXPECT_EQ(Utf8ToUtf16("a\377b\xC3"), u"a\uFFFDb\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate

  EmfSurface s(100, 100, 96.0f, 96.0f);
  FontSpec f;
  f.height = -20;
  s.SelectFont(f);
  s.Text(10, 20, "5 °C ‰", TextAlign::kRightTop);
  s.Text(10, 40, "x", TextAlign::kRightTop);  // alignment unchanged: no second record
  s.Text(10, 60, "y", TextAlign::kCenterTop);
  const std::string b = s.bytes();
  const std::vector<Rec> recs = Walk(b);
  ASSERT_EQ(OfType(recs, kCreateFont).size(), 1u);
  EXPECT_EQ(I32(b, OfType(recs, kCreateFont)[0].at + 12), -20);
  std::vector<std::uint32_t> aligns;
  for (const Rec& r : OfType(recs, kSetTextAlign)) aligns.push_back(U32(b, r.at + 8));
  EXPECT_EQ(aligns, (std::vector<std::uint32_t>{0, 2, 6}));  // initial left, right, centre

  const std::vector<Rec> texts = OfType(recs, kTextOut);
  ASSERT_EQ(texts.size(), 3u);
  const std::size_t t = texts[0].at, emrText = t + 36;
  EXPECT_EQ(I32(b, emrText), 10);
  EXPECT_EQ(I32(b, emrText + 4), 20);
  const std::uint32_t chars = U32(b, emrText + 8);
  ASSERT_EQ(chars, 6u);
  std::u16string text;
  for (std::uint32_t i = 0; i < chars; ++i) text += U16(b, t + U32(b, emrText + 12) + 2 * i);
  EXPECT_EQ(text, u"5 \u00B0C \u2030");
  // Advances add up to the measured width of the whole text.
  const std::uint32_t dx = U32(b, emrText + 36);
  ASSERT_LE(dx + 4 * chars, texts[0].size);
  std::int32_t sum = 0;
  for (std::uint32_t i = 0; i < chars; ++i) sum += I32(b, t + dx + 4 * i);
  EXPECT_EQ(sum, s.TextWidth("5 °C ‰"));
}

TEST(EmfSurface, MonochromeTileBecomesOneBitDib) {
  EmfSurface s(100, 100, 96.0f, 96.0f);
  const std::uint8_t bits[] = {0xF0, 0x0F, 0x81, 0x81, 0xFF, 0xFF, 0x00, 0x00};
  s.MonochromeBitmap(7, 9, bits, 12, 4, 10, 3);  // copies 10 x 3
  s.MonochromeBitmap(0, 0, bits, 12, 4, 0, 3);   // nothing to copy
  s.MonochromeBitmap(0, 0, nullptr, 12, 4, 12, 4);
  const std::string b = s.bytes();
  const std::vector<Rec> dibs = OfType(Walk(b), kStretchDiBits);
  ASSERT_EQ(dibs.size(), 1u);
  const std::size_t r = dibs[0].at;
  // Destination corner and size.
  EXPECT_EQ((std::vector{I32(b, r + 24), I32(b, r + 28), I32(b, r + 72), I32(b, r + 76)}),
            (std::vector{7, 9, 10, 3}));
  EXPECT_EQ(U32(b, r + 60), 12u);
  // Bottom-up rows of four bytes; columns beyond the copied width are cleared.
  const std::size_t px = r + U32(b, r + 56);
  const std::vector<std::uint8_t> want{0xFF, 0xC0, 0, 0, 0x81, 0x80, 0, 0, 0xF0, 0x00, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + px, b.begin() + px + 12), want);
}

TEST(EmfSurface, MetricsComeFromTheProvider) {
  EmfTextMetrics m;
  m.lineHeight = [](const FontSpec& f) { return -f.height + 7; };
  m.textWidth = [](const FontSpec&, std::string_view t) { return std::ssize(t) * 3; };
  EmfSurface s(800, 600, 300.0f, 150.0f, m);
  s.SelectFont(FontSpec{});
  EXPECT_EQ(s.TextWidth("abcd"), 12);
  EXPECT_EQ(EmfSurface::FrameFor(-5, 2147483647, 96.0f).right, 0);
}

}  // namespace
}  // namespace sx
