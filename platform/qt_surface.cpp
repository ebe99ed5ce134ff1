#include "platform/qt_surface.h"

#include <QColor>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "core/device_int.h"

namespace sx {
namespace {

// Beyond this a pen is a filled area, not a line; the cap keeps stroking cheap.
constexpr std::int32_t kMaxPenWidth = 4096;
// Font sizes beyond this (device pixels) are no text anyone reads and strain the font engine.
constexpr int kMaxPixelSize = 8192;
// Used when the device does not tell its size.
constexpr double kUnknownExtent = 4194304.0;
// A dash pattern in pen widths: with square caps each dash grows by one pen width, so the line
// shows dashes of 18 and gaps of 6 pen widths.
constexpr double kDashOn = 17.0, kDashOff = 7.0;

std::int32_t PenWidth(std::int32_t width) {
  return std::clamp(width, 1, kMaxPenWidth);
}

// Lines of odd width are centred on pixel middles, lines of even width on pixel edges, so that
// both cover whole pixels.
double PixelOffset(std::int32_t penWidth) {
  return penWidth % 2 == 1 ? 0.5 : 0.0;
}

QColor ToQColor(RGB c) {
  return QColor(c.red, c.green, c.blue);
}

// Stamps kept at once (one per marker kind, size and colour in use).
constexpr std::size_t kMaxStamps = 16;
// Ellipses up to this size (and pen) are markers, drawn from a stamp on direct images. The
// largest marker a plot draws (a half-width of 50 pixels, however large the settings say) is one
// of them: painted one by one, circles that large cost four times as much.
constexpr std::int32_t kMaxStampBox = 100;
constexpr std::int32_t kMaxStampPen = 8;

// A solid pixel-pen polyline of more points than this is a data curve, not a frame or a tick.
constexpr std::size_t kLongPolyline = 32;

// hairline: a long solid curve of width 1 on a raster, see Polyline.
QPen MakePen(std::int32_t penWidth, RGB color, PenStyle style, bool raster, bool hairline = false) {
  QPen pen(ToQColor(color));
  if (hairline) {
    pen.setWidthF(1.0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }
  // The raster engine draws pens of width 1 or less with its own line drawer, which knows no
  // joins or caps and leaves the corners of frames half covered; a hair more width takes them to
  // the stroker, and the extra is far below one level of coverage.
  const double width = raster && penWidth == 1 ? 1.001 : static_cast<double>(penWidth);
  pen.setWidthF(width);
  if (style == PenStyle::kDash) {
    // The pattern counts in pen widths; it is meant in whole ones.
    const double unit = penWidth / width;
    pen.setDashPattern({kDashOn * unit, kDashOff * unit});
    pen.setCapStyle(Qt::SquareCap);
  } else {
    pen.setCapStyle(penWidth == 1 ? Qt::SquareCap : Qt::RoundCap);
  }
  pen.setJoinStyle(penWidth == 1 ? Qt::MiterJoin : Qt::RoundJoin);
  return pen;
}

QPointF ToPoint(DevicePoint p, double offset) {
  return QPointF(static_cast<double>(p.x) + offset, static_cast<double>(p.y) + offset);
}

// Liang-Barsky: cuts the segment a-b to the box. Returns false when nothing is left; t0 and t1
// are the parameters of the kept part on the original segment.
bool ClipSegment(const QRectF& box, QPointF& a, QPointF& b, double& t0, double& t1) {
  t0 = 0.0;
  t1 = 1.0;
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  auto edge = [&](double p, double q) {
    if (p == 0.0) return q >= 0.0;
    const double r = q / p;
    if (p < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  if (!edge(-dx, a.x() - box.left()) || !edge(dx, box.right() - a.x()) ||
      !edge(-dy, a.y() - box.top()) || !edge(dy, box.bottom() - a.y())) {
    return false;
  }
  const QPointF start = a;
  if (t1 < 1.0) b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
  if (t0 > 0.0) a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
  return true;
}

// Sutherland-Hodgman against the four sides of the box.
QPolygonF ClipPolygon(const QPolygonF& polygon, const QRectF& box) {
  enum Side { kLeft, kRight, kTop, kBottom };
  auto inside = [&](const QPointF& p, Side side) {
    switch (side) {
      case kLeft:
        return p.x() >= box.left();
      case kRight:
        return p.x() <= box.right();
      case kTop:
        return p.y() >= box.top();
      case kBottom:
        return p.y() <= box.bottom();
    }
    return true;
  };
  auto cross = [&](const QPointF& p, const QPointF& q, Side side) {
    const bool vertical = side == kLeft || side == kRight;
    const double edge = side == kLeft    ? box.left()
                        : side == kRight ? box.right()
                        : side == kTop   ? box.top()
                                         : box.bottom();
    const double from = vertical ? p.x() : p.y();
    const double to = vertical ? q.x() : q.y();
    const double t = (edge - from) / (to - from);  // the points lie on either side: to != from
    return QPointF(p.x() + t * (q.x() - p.x()), p.y() + t * (q.y() - p.y()));
  };
  QPolygonF current = polygon;
  for (Side side : {kLeft, kRight, kTop, kBottom}) {
    if (current.isEmpty()) break;
    QPolygonF next;
    const qsizetype n = current.size();
    for (qsizetype i = 0; i < n; ++i) {
      const QPointF& p = current[(i + n - 1) % n];
      const QPointF& q = current[i];
      const bool pIn = inside(p, side), qIn = inside(q, side);
      if (qIn) {
        if (!pIn) next << cross(p, q, side);
        next << q;
      } else if (pIn) {
        next << cross(p, q, side);
      }
    }
    current = next;
  }
  return current;
}

// Free faces with the advances of the common Windows faces, so that layouts measured on one
// system hold on another.
QString MetricSubstitute(const QString& face) {
  const QString f = face.trimmed().toLower();
  if (f == QLatin1String("times new roman") || f == QLatin1String("times")) {
    return QStringLiteral("Liberation Serif");
  }
  if (f == QLatin1String("courier new") || f == QLatin1String("courier")) {
    return QStringLiteral("Liberation Mono");
  }
  return QStringLiteral("Liberation Sans");
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtSurface::QtSurface(QPainter& painter, float dpiX, float dpiY, bool opaqueText)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY), opaqueText_(opaqueText) {
  if (!painter_.isActive()) {
    // Nothing can be drawn; metrics still answer, for the default screen.
    font_ = MakeQFont(FontSpec{}, dpiY_);
    return;
  }
  saved_ = true;
  painter_.save();
  // Antialiasing keeps slanted lines and circles smooth; the pixel offsets above keep level
  // lines, frames and fills sharp. Tiles are copied, never smoothed.
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setBackgroundMode(Qt::TransparentMode);

  raster_ =
      painter_.paintEngine() != nullptr && painter_.paintEngine()->type() == QPaintEngine::Raster;
  visible_ = QRectF(-kUnknownExtent, -kUnknownExtent, 2 * kUnknownExtent, 2 * kUnknownExtent);
  const QPaintDevice* device = painter_.device();
  if (device != nullptr && device->width() > 0 && device->height() > 0) {
    bool invertible = false;
    const QTransform toLogical = painter_.combinedTransform().inverted(&invertible);
    if (invertible) {
      visible_ = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    }
  }
  SelectFont(FontSpec{});

  // Direct drawing needs the image itself, unshared, with device pixels equal to drawing units
  // up to a whole-pixel shift, nothing clipped away and nothing blended in a special way.
  const auto* image = dynamic_cast<const QImage*>(device);
  const QTransform transform = painter_.combinedTransform();
  const double dx = transform.dx(), dy = transform.dy();
  if (raster_ && image != nullptr && image->isDetached() &&
      (image->format() == QImage::Format_RGB32 ||
       image->format() == QImage::Format_ARGB32_Premultiplied) &&
      transform.type() <= QTransform::TxTranslate && !painter_.hasClipping() &&
      painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
      painter_.opacity() == 1.0 && std::abs(dx) < 1e9 && std::abs(dy) < 1e9 &&
      dx == std::floor(dx) && dy == std::floor(dy)) {
    direct_.pixels = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(image->constBits()));
    direct_.stride = image->bytesPerLine() / 4;
    direct_.width = image->width();
    direct_.height = image->height();
    direct_.offsetX = static_cast<std::int32_t>(dx);
    direct_.offsetY = static_cast<std::int32_t>(dy);
    directOk_ = direct_.pixels != nullptr;
  }
}

const RasterTarget* QtSurface::Direct() const {
  return directOk_ && painter_.isActive() ? &direct_ : nullptr;
}

const Stamp& QtSurface::EllipseStamp(std::int32_t boxWidth, std::int32_t boxHeight,
                                     std::int32_t pen, RGB color, Fill fill) {
  // Markers come in long runs of one kind: the newest stamp is looked at first.
  for (auto e = stamps_.rbegin(); e != stamps_.rend(); ++e) {
    if (e->boxWidth == boxWidth && e->boxHeight == boxHeight && e->pen == pen &&
        e->color == color && e->fill == fill) {
      return e->stamp;
    }
  }
  // A plot uses a few marker kinds; a pass through many colours must not grow without end.
  if (stamps_.size() >= kMaxStamps) stamps_.erase(stamps_.begin());
  const std::int32_t pad = pen + 2;
  QImage image(boxWidth + 2 * pad, boxHeight + 2 * pad, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double offset = PixelOffset(pen);
    p.setPen(MakePen(pen, color, PenStyle::kSolid, true));
    p.setBrush(fill == Fill::kWhite ? QColor(Qt::white) : ToQColor(color));
    p.drawEllipse(
        QRectF(pad + offset, pad + offset, std::max(0, boxWidth - 1), std::max(0, boxHeight - 1)));
  }
  // Cut to the pixels the ellipse touched: most of the pad stays empty.
  std::int32_t x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
  for (std::int32_t y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (std::int32_t x = 0; x < image.width(); ++x) {
      if (line[x] == 0) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  StampEntry& e = stamps_.emplace_back(StampEntry{boxWidth, boxHeight, pen, color, fill, {}, {}});
  if (x1 >= x0) {
    // Rows padded with clear pixels to whole groups of four, which blend four at a time.
    const std::int32_t width = (x1 - x0 + 4) / 4 * 4;
    e.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(y1 - y0 + 1), 0);
    for (std::int32_t y = y0; y <= y1; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      std::copy(line + x0, line + x1 + 1,
                e.pixels.begin() + static_cast<std::ptrdiff_t>(y - y0) * width);
    }
    e.stamp = Stamp{e.pixels.data(), width, y1 - y0 + 1, x0 - pad, y0 - pad};
  }
  return e.stamp;
}

QtSurface::~QtSurface() {
  if (saved_ && painter_.isActive()) painter_.restore();
}

void QtSurface::Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                         PenStyle style) {
  if (!painter_.isActive() || points.size() < 2) return;
  const std::int32_t w = PenWidth(width);
  const double offset = PixelOffset(w);
  const QRectF box = visible_.adjusted(-w - 16.0, -w - 16.0, w + 16.0, w + 16.0);
  // A long curve goes to the raster engine's own line drawer: its missing joins matter at the
  // few corners of a frame, not along a curve of thousands of short steps, and the stroker the
  // hair of extra width would send it to costs several times as much.
  const bool hairline =
      raster_ && w == 1 && style == PenStyle::kSolid && points.size() > kLongPolyline;
  if (hairline) {
    if (const RasterTarget* direct = Direct()) {
      DrawHairline(*direct, points, OpaquePixel(color));
      return;
    }
  }
  painter_.setPen(MakePen(w, color, style, raster_, hairline));
  painter_.setBrush(Qt::NoBrush);

  // The parts of the line inside the box, each drawn as one polyline. A part that starts at the
  // cut begins a little further out, where a whole dash period of the uncut line begins, so that
  // cutting never shifts the visible dashes.
  const double period = (kDashOn + kDashOff) * w;
  QPolygonF run;
  double travelled = 0.0;
  auto flush = [&] {
    if (run.size() >= 2) painter_.drawPolyline(run);
    run.clear();
  };
  bool lastEndCut = true;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const QPointF from = ToPoint(points[i - 1], offset), to = ToPoint(points[i], offset);
    const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
    QPointF a = from, b = to;
    double t0 = 0.0, t1 = 1.0;
    if (!ClipSegment(box, a, b, t0, t1)) {
      flush();
      lastEndCut = true;
    } else {
      if (run.isEmpty() || t0 > 0.0 || lastEndCut) {
        flush();
        const double phase = travelled + t0 * length;
        if (style == PenStyle::kDash && phase > 0.0 && length > 0.0) {
          const double back = std::fmod(phase, period) / length;
          a = QPointF(a.x() - back * (to.x() - from.x()), a.y() - back * (to.y() - from.y()));
        }
        run << a;
      }
      run << b;
      lastEndCut = t1 < 1.0;
    }
    travelled += length;
  }
  flush();
}

void QtSurface::Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                        Fill fill) {
  if (!painter_.isActive() || points.size() < 2) return;
  const std::int32_t w = PenWidth(width);
  const double offset = PixelOffset(w);
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const DevicePoint& p : points) polygon << ToPoint(p, offset);
  // Far outside the device the outline runs along the cut, where nobody sees it.
  const QRectF box = visible_.adjusted(-w - 16.0, -w - 16.0, w + 16.0, w + 16.0);
  if (!box.contains(polygon.boundingRect())) polygon = ClipPolygon(polygon, box);
  if (polygon.size() < 2) return;
  painter_.setPen(MakePen(w, color, PenStyle::kSolid, raster_));
  painter_.setBrush(fill == Fill::kWhite ? QColor(Qt::white) : ToQColor(color));
  painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

void QtSurface::Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom, std::int32_t width, RGB color, Fill fill) {
  if (!painter_.isActive()) return;
  const std::int32_t w = PenWidth(width);
  const std::int64_t boxLeft = std::min(left, right),
                     boxWidth = std::int64_t{std::max(left, right)} - boxLeft;
  const std::int64_t boxTop = std::min(top, bottom),
                     boxHeight = std::int64_t{std::max(top, bottom)} - boxTop;
  // A marker: from its stamp, cut at the image's edges.
  if (const RasterTarget* direct = Direct(); direct != nullptr && boxWidth <= kMaxStampBox &&
                                             boxHeight <= kMaxStampBox && w <= kMaxStampPen) {
    BlendStamp(*direct, static_cast<std::int32_t>(boxLeft), static_cast<std::int32_t>(boxTop),
               EllipseStamp(static_cast<std::int32_t>(boxWidth),
                            static_cast<std::int32_t>(boxHeight), w, color, fill));
    return;
  }
  const double offset = PixelOffset(w);
  const double l = static_cast<double>(boxLeft), t = static_cast<double>(boxTop);
  // The box excludes its right and bottom edges: the outline runs through the middle of the
  // pixels left .. right - 1.
  const QRectF path(l + offset, t + offset, std::max(0.0, static_cast<double>(boxWidth) - 1.0),
                    std::max(0.0, static_cast<double>(boxHeight) - 1.0));
  if (!visible_.intersects(path.adjusted(-w, -w, w, w))) return;
  painter_.setPen(MakePen(w, color, PenStyle::kSolid, raster_));
  painter_.setBrush(fill == Fill::kWhite ? QColor(Qt::white) : ToQColor(color));
  painter_.drawEllipse(path);
}

void QtSurface::Markers(std::span<const DevicePoint> centres, RGB color, std::int32_t r,
                        std::int32_t width, std::int32_t code) {
  // Circles (symbol 2 open, 1 and every unknown code filled) from one stamp for the whole run;
  // every other symbol, and every surface that cannot take stamps, the general way.
  const RasterTarget* direct = Direct();
  const std::int32_t w = PenWidth(width);
  const bool circle = code < 3 || code > 10;
  if (direct == nullptr || !circle || r < 0 || std::int64_t{r} * 2 > kMaxStampBox ||
      w > kMaxStampPen) {
    Surface::Markers(centres, color, r, width, code);
    return;
  }
  const Stamp stamp = EllipseStamp(2 * r, 2 * r, w, color, code == 2 ? Fill::kWhite : Fill::kColor);
  constexpr std::int32_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kHigh = std::numeric_limits<std::int32_t>::max();
  for (const DevicePoint& c : centres) {
    // A centre within r of the ends of the coordinate range lies some two billion pixels off any
    // image: nothing of it can be seen.
    if (c.x < kLow + r || c.x > kHigh - r || c.y < kLow + r || c.y > kHigh - r) continue;
    BlendStamp(*direct, c.x - r, c.y - r, stamp);
  }
}

void QtSurface::MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                                 std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                                 std::int32_t copyHeight) {
  if (!painter_.isActive() || bits == nullptr) return;
  // Two bytes a row hold at most 16 pixels; a tile has at most 16 rows.
  const std::int32_t w = std::min({width, copyWidth, 16});
  const std::int32_t h = std::min({height, copyHeight, 16});
  if (w <= 0 || h <= 0 || !visible_.intersects(QRectF(x, y, w, h))) return;
  const std::size_t bytes = 2 * static_cast<std::size_t>(h);
  if (tile_.isNull() || w != tileWidth_ || h != tileHeight_ ||
      std::memcmp(tileBits_.data(), bits, bytes) != 0) {
    QImage image(w, h, QImage::Format_RGB32);
    for (std::int32_t row = 0; row < h; ++row) {
      const unsigned word = (static_cast<unsigned>(bits[2 * row]) << 8) | bits[2 * row + 1];
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
      for (std::int32_t col = 0; col < w; ++col) {
        const bool set = (word >> (15 - col)) & 1u;
        line[col] = set ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
      }
    }
    tile_ = image;
    tileWidth_ = w;
    tileHeight_ = h;
    tileBits_.fill(0);
    std::memcpy(tileBits_.data(), bits, bytes);
  }
  painter_.drawImage(QPointF(x, y), tile_);
}

QFont QtSurface::MakeQFont(const FontSpec& wanted, float dpiY) {
  QFont font;
  const QString face = FromUtf8(wanted.face);
  const QString substitute = MetricSubstitute(face);
  font.setFamilies(face.trimmed().isEmpty() ? QStringList{substitute}
                                            : QStringList{face, substitute});
  font.setStyleHint(substitute.endsWith(QLatin1String("Serif"))  ? QFont::Serif
                    : substitute.endsWith(QLatin1String("Mono")) ? QFont::TypeWriter
                                                                 : QFont::SansSerif);
  font.setWeight(wanted.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(wanted.italic);
  font.setUnderline(wanted.underline);
  font.setStrikeOut(wanted.strikeOut);
  // Advances as measured, without pair kerning, like the text output the layouts were made for.
  font.setKerning(false);

  const std::int64_t height = wanted.height;
  int pixels = 0;
  if (height < 0) {
    pixels = static_cast<int>(std::min<std::int64_t>(-height, kMaxPixelSize));
  } else if (height > 0) {
    // A cell height: the em is the cell without the font's own leading.
    const int cell = static_cast<int>(std::min<std::int64_t>(height, kMaxPixelSize));
    font.setPixelSize(cell);
    const QFontMetricsF metrics(font);
    const double ratio = metrics.ascent() + metrics.descent();
    pixels = ratio > 0.0 ? ToInt32(cell * cell / ratio + 0.5) : cell;
  } else {
    // No height: a 12-point font.
    pixels = ToInt32(12.0 * static_cast<double>(dpiY) / 72.0 + 0.5);
  }
  font.setPixelSize(std::clamp(pixels, 1, kMaxPixelSize));
  return font;
}

void QtSurface::SelectFont(const FontSpec& font) {
  font_ = MakeQFont(font, dpiY_);
  escapement_ = font.escapement;
  if (painter_.isActive()) painter_.setFont(font_);
}

// Measured on the painter's device, so that a 300-dpi page measures in its own pixels.
QFontMetrics QtSurface::Metrics() const {
  QPaintDevice* device = painter_.device();
  return device != nullptr ? QFontMetrics(font_, device) : QFontMetrics(font_);
}

std::int32_t QtSurface::FontLineHeight() {
  const QFontMetrics metrics = Metrics();
  return metrics.ascent() + metrics.descent();
}

std::int32_t QtSurface::TextWidth(std::string_view text) {
  return Metrics().horizontalAdvance(FromUtf8(text));
}

void QtSurface::Text(std::int32_t x, std::int32_t y, std::string_view text, TextAlign align) {
  if (!painter_.isActive() || text.empty()) return;
  const QString s = FromUtf8(text);
  const QFontMetrics metrics = Metrics();
  const int advance = metrics.horizontalAdvance(s);
  const int ascent = metrics.ascent();
  const int cell = ascent + metrics.descent();
  // Whatever its turn, the text stays within its advance and cell of the reference point. Text
  // far off the device is not drawn: glyph positions are fixed point and would overflow.
  const double reach = static_cast<double>(advance) + cell;
  if (!visible_.adjusted(-reach, -reach, reach, reach).contains(QPointF(x, y))) return;
  int dx = 0;
  if (align == TextAlign::kRightTop) {
    dx = -advance;
  } else if (align == TextAlign::kCenterTop) {
    dx = -(advance / 2);
  }
  painter_.save();
  painter_.translate(x, y);
  // Escapement turns counter-clockwise on the page; y grows downwards.
  if (escapement_ != 0) painter_.rotate(-static_cast<double>(escapement_) / 10.0);
  if (opaqueText_) painter_.fillRect(QRect(dx, 0, advance, cell), Qt::white);
  painter_.setFont(font_);
  painter_.setPen(QPen(Qt::black));
  painter_.drawText(QPointF(dx, ascent), s);
  painter_.restore();
}

}  // namespace sx
