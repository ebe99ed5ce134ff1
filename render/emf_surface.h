#pragma once
// A surface that records the drawing as an enhanced metafile (EMF) in memory, ready to be
// written to a .emf file. One logical unit is one device pixel of a reference device of the
// given resolution; the frame rectangle (hundredths of a millimetre) covers the picture plus a
// margin of 1.5 %. Every primitive creates its pen and brush, selects them, draws, selects the
// stock objects back and deletes its own, so a reader needs only a handful of object slots.
//
// A metafile has no font engine: the text metrics the plot code asks for come from a provider
// given to the constructor (the caller passes the metrics of the fonts that will show the
// metafile); by default they are the deterministic ones of the recording surface.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "render/surface.h"

namespace sx {

struct EmfTextMetrics {
  // Ascent + descent of the font, in device units.
  std::function<std::int32_t(const FontSpec&)> lineHeight;
  // Advance width of UTF-8 text in the font, in device units.
  std::function<std::int32_t(const FontSpec&, std::string_view)> textWidth;
};

// The recording surface's metrics: a font of em height e has a line height of round(1.15 e) and
// every character advances round(0.55 e), at least 1.
EmfTextMetrics DeterministicTextMetrics();

// UTF-16 code units of UTF-8 text; a byte that starts no valid sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

class EmfSurface : public Surface {
 public:
  // width x height: the picture's size in device units (the plot window's client area).
  // Resolutions that are not finite and positive fall back to 96 dpi.
  EmfSurface(std::int32_t width, std::int32_t height, float dpiX, float dpiY,
             EmfTextMetrics metrics = DeterministicTextMetrics());

  float ResolutionX() const override { return dpiX_; }
  float ResolutionY() const override { return dpiY_; }
  // Text in a metafile keeps its opaque white background.
  bool OpaqueTextBackground() const override { return true; }

  void Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                PenStyle style) override;
  void Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
               Fill fill) override;
  void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
               std::int32_t width, RGB color, Fill fill) override;
  void MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                        std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                        std::int32_t copyHeight) override;
  void SelectFont(const FontSpec& font) override;
  std::int32_t FontLineHeight() override;
  std::int32_t TextWidth(std::string_view text) override;
  void Text(std::int32_t x, std::int32_t y, std::string_view text, TextAlign align) override;

  // The complete metafile: header, the records drawn so far, the release of the current font
  // and the end-of-file record.
  std::string bytes() const;
  // Writes bytes() to path with WriteFileAtomically (openDataFile: the open data file, never
  // overwritten); false (with *error) when the file could not be written.
  bool WriteEmf(const std::string& path, const std::string& openDataFile,
                std::string* error = nullptr) const;

  // Frame rectangle right/bottom in hundredths of a millimetre for a picture of width x height
  // device units: k = whole hundredths of a millimetre per device unit of the reference device,
  // each side = trunc(side x k x 1.015) (the horizontal k serves both axes).
  struct Frame {
    std::int32_t right = 0, bottom = 0;
  };
  static Frame FrameFor(std::int32_t width, std::int32_t height, float dpiX);

  // True when a record was dropped because the metafile would exceed its 4 GiB size limit.
  bool truncated() const { return truncated_; }

 private:
  class Record;
  void Append(const Record& record);
  std::uint32_t NewHandle();
  void FreeHandle(std::uint32_t index);
  void Select(std::uint32_t object);
  void Delete(std::uint32_t index);
  std::uint32_t CreatePen(std::int32_t width, RGB color, PenStyle style);
  std::uint32_t CreateBrush(RGB color);
  void ReleasePenAndBrush(std::uint32_t pen, std::uint32_t brush);
  void Poly(std::uint32_t type, std::span<const DevicePoint> points);
  void AddBounds(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

  std::int32_t width_, height_;
  float dpiX_, dpiY_;
  EmfTextMetrics metrics_;
  std::vector<std::uint8_t> records_;  // every record after the header
  std::uint32_t recordCount_ = 0;
  std::vector<bool> handleUsed_;  // index 0 is the metafile itself
  std::uint32_t maxHandle_ = 0;
  FontSpec font_;
  std::uint32_t fontHandle_ = 0;  // 0: no font created yet
  TextAlign emittedAlign_ = TextAlign::kLeftTop;
  bool hasBounds_ = false;
  std::int64_t boundsLeft_ = 0, boundsTop_ = 0, boundsRight_ = -1, boundsBottom_ = -1;
  bool truncated_ = false;
};

}  // namespace sx
