#include "render/recording_surface.h"

#include <cstdio>
#include <cstdlib>

#include "core/device_int.h"
#include "core/utf8.h"

namespace sx {
namespace {

std::string ColorText(RGB c) {
  char t[24];
  std::snprintf(t, sizeof t, "%d,%d,%d", c.red, c.green, c.blue);
  return t;
}

std::string PointsText(const std::vector<DevicePoint>& points) {
  std::string s;
  char t[32];
  for (const DevicePoint& p : points) {
    std::snprintf(t, sizeof t, " %d,%d", p.x, p.y);
    s += t;
  }
  return s;
}

const char* AlignText(TextAlign a) {
  switch (a) {
    case TextAlign::kLeftTop:
      return "left";
    case TextAlign::kRightTop:
      return "right";
    case TextAlign::kCenterTop:
      return "center";
  }
  return "left";
}

}  // namespace

void RecordingSurface::Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                                PenStyle style) {
  Call c;
  c.kind = Kind::kPolyline;
  c.points.assign(points.begin(), points.end());
  c.width = width;
  c.color = color;
  c.pen = style;
  calls_.push_back(std::move(c));
}

void RecordingSurface::Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                               Fill fill) {
  Call c;
  c.kind = Kind::kPolygon;
  c.points.assign(points.begin(), points.end());
  c.width = width;
  c.color = color;
  c.fill = fill;
  calls_.push_back(std::move(c));
}

void RecordingSurface::Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                               std::int32_t bottom, std::int32_t width, RGB color, Fill fill) {
  Call c;
  c.kind = Kind::kEllipse;
  c.points = {{left, top}, {right, bottom}};
  c.width = width;
  c.color = color;
  c.fill = fill;
  calls_.push_back(std::move(c));
}

void RecordingSurface::MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                                        std::int32_t width, std::int32_t height,
                                        std::int32_t copyWidth, std::int32_t copyHeight) {
  Call c;
  c.kind = Kind::kBitmap;
  c.points = {{x, y}};
  c.width = width;
  c.height = height;
  c.copyWidth = copyWidth;
  c.copyHeight = copyHeight;
  const std::int32_t rows = height < 0 ? 0 : (height > 16 ? 16 : height);
  c.bits.assign(bits, bits + 2 * rows);
  calls_.push_back(std::move(c));
}

void RecordingSurface::SelectFont(const FontSpec& font) {
  font_ = font;
  if (metrics_ != nullptr) metrics_->SelectFont(font);
  Call c;
  c.kind = Kind::kFont;
  c.font = font;
  calls_.push_back(std::move(c));
}

std::int32_t RecordingSurface::emHeight() const {
  const std::int64_t h = std::llabs(static_cast<long long>(font_.height));
  // A positive height is the cell height: the em is the part without internal leading.
  return font_.height < 0 ? ToInt32(static_cast<double>(h))
                          : ToInt32(static_cast<double>(h) / 1.15 + 0.5);
}

std::int32_t RecordingSurface::FontLineHeight() {
  if (metrics_ != nullptr) return metrics_->FontLineHeight();
  return ToInt32(1.15 * emHeight() + 0.5);
}

std::int32_t RecordingSurface::TextWidth(std::string_view text) {
  if (metrics_ != nullptr) return metrics_->TextWidth(text);
  std::int32_t advance = ToInt32(0.55 * emHeight() + 0.5);
  if (advance < 1) advance = 1;
  return ToInt32(static_cast<double>(advance) * static_cast<double>(Utf8Length(text)));
}

void RecordingSurface::Text(std::int32_t x, std::int32_t y, std::string_view text,
                            TextAlign align) {
  Call c;
  c.kind = Kind::kText;
  c.points = {{x, y}};
  c.text.assign(text);
  c.align = align;
  c.font = font_;
  calls_.push_back(std::move(c));
}

std::string RecordingSurface::DumpCall(const Call& c) {
  char t[160];
  switch (c.kind) {
    case Kind::kPolyline:
      return std::string(c.points.size() == 2 ? "line " : "polyline ") + std::to_string(c.width) +
             " " + ColorText(c.color) + (c.pen == PenStyle::kDash ? " dash" : " solid") +
             PointsText(c.points);
    case Kind::kPolygon:
      return "polygon " + std::to_string(c.width) + " " + ColorText(c.color) +
             (c.fill == Fill::kWhite ? " white" : " filled") + PointsText(c.points);
    case Kind::kEllipse:
      return "ellipse " + std::to_string(c.width) + " " + ColorText(c.color) +
             (c.fill == Fill::kWhite ? " white" : " filled") + PointsText(c.points);
    case Kind::kBitmap: {
      std::snprintf(t, sizeof t, "bitmap %d,%d %dx%d copy %dx%d ", c.points[0].x, c.points[0].y,
                    c.width, c.height, c.copyWidth, c.copyHeight);
      std::string s = t;
      for (std::uint8_t b : c.bits) {
        std::snprintf(t, sizeof t, "%02X", b);
        s += t;
      }
      return s;
    }
    case Kind::kFont:
      std::snprintf(t, sizeof t, "font \"%s\" %d esc %d%s%s%s%s", c.font.face.c_str(),
                    c.font.height, c.font.escapement, c.font.bold ? " bold" : "",
                    c.font.italic ? " italic" : "", c.font.underline ? " underline" : "",
                    c.font.strikeOut ? " strikeout" : "");
      return t;
    case Kind::kText:
      std::snprintf(t, sizeof t, "text %d,%d %s ", c.points[0].x, c.points[0].y,
                    AlignText(c.align));
      return t + ("\"" + c.text + "\"");
  }
  return {};
}

std::string RecordingSurface::Dump() const {
  std::string out;
  for (const Call& c : calls_) {
    out += DumpCall(c);
    out += '\n';
  }
  return out;
}

}  // namespace sx
