#include "render/text_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "core/utf8.h"
#include "render/drawing.h"

namespace sx {
namespace {

constexpr std::int64_t kGridSide = 128;  // cells across the longer side of the picture, at most
constexpr std::int64_t kMinCell = 32;
// Between lines of text stacked one over the other.
constexpr std::int32_t kLineGap = 1;
constexpr std::string_view kEllipsis = "\u2026";

std::int32_t Saturate32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

TextAlign ResolveAlignment(std::int32_t alignment, TextAlign current) {
  switch (alignment) {
    case 0:
      return TextAlign::kLeftTop;
    case 1:
      return TextAlign::kRightTop;
    case 2:
      return TextAlign::kCenterTop;
    default:
      return current;
  }
}

// Escapement in tenths of a degree brought into 0 .. 3599.
std::int32_t NormalReading(std::int32_t reading) {
  const std::int32_t r = reading % 3600;
  return r < 0 ? r + 3600 : r;
}

// cos and sin of a turn, exact at the quarter turns so that a box never grows by a rounding.
void Turn(std::int32_t reading, double& c, double& s) {
  switch (NormalReading(reading)) {
    case 0:
      c = 1.0, s = 0.0;
      return;
    case 900:
      c = 0.0, s = 1.0;
      return;
    case 1800:
      c = -1.0, s = 0.0;
      return;
    case 2700:
      c = 0.0, s = -1.0;
      return;
    default: {
      const double theta =
          static_cast<double>(NormalReading(reading)) / 10.0 * std::numbers::pi / 180.0;
      c = std::cos(theta);
      s = std::sin(theta);
    }
  }
}

bool Empty(const TextBox& b) {
  return b.right <= b.left || b.bottom <= b.top;
}

bool Slanted(std::int32_t reading) {
  return NormalReading(reading) % 900 != 0;
}

TextCell CellOf(const TextBox& b) {
  const double l = static_cast<double>(b.left), t = static_cast<double>(b.top);
  const double r = static_cast<double>(b.right), d = static_cast<double>(b.bottom);
  return {{l, r, r, l}, {t, t, d, d}};
}

// Whether two cells come closer than pad: on no axis across an edge of either do their extents
// stand pad or more apart.
bool CellsMeet(const TextCell& a, const TextCell& b, double pad) {
  for (const TextCell* edges : {&a, &b}) {
    for (int k = 0; k < 4; ++k) {
      const int n = (k + 1) % 4;
      const double ax = edges->y[k] - edges->y[n], ay = edges->x[n] - edges->x[k];
      const double length = std::hypot(ax, ay);
      if (length == 0.0) continue;
      double aLo = 0.0, aHi = 0.0, bLo = 0.0, bHi = 0.0;
      for (int i = 0; i < 4; ++i) {
        const double pa = (a.x[i] * ax + a.y[i] * ay) / length;
        const double pb = (b.x[i] * ax + b.y[i] * ay) / length;
        aLo = i == 0 ? pa : std::min(aLo, pa), aHi = i == 0 ? pa : std::max(aHi, pa);
        bLo = i == 0 ? pb : std::min(bLo, pb), bHi = i == 0 ? pb : std::max(bHi, pb);
      }
      if (std::max(aLo, bLo) - std::min(aHi, bHi) >= pad) return false;
    }
  }
  return true;
}

// The text's box with its reference point at (x, top) in the current font, from its advance w
// and line height h; a slanted text's cell goes to cell.
TextBox BoxAt(std::int64_t x, std::int64_t top, std::int64_t w, std::int64_t h, TextAlign align,
              std::int32_t reading, TextCell* cell = nullptr) {
  const std::int64_t u0 = align == TextAlign::kLeftTop    ? 0
                          : align == TextAlign::kRightTop ? -w
                                                          : -(w / 2);
  double c = 1.0, s = 0.0;
  Turn(reading, c, s);
  if (c == 1.0) return {x + u0, top, x + u0 + w, top + h};
  // The page turns counter-clockwise with y growing downwards: along the text (u) a point moves
  // by (cos, -sin), across it (v) by (sin, cos).
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  // The corners in turn round the cell.
  const double us[4] = {static_cast<double>(u0), static_cast<double>(u0 + w),
                        static_cast<double>(u0 + w), static_cast<double>(u0)};
  const double vs[4] = {0.0, 0.0, static_cast<double>(h), static_cast<double>(h)};
  for (int k = 0; k < 4; ++k) {
    const double px = us[k] * c + vs[k] * s, py = -us[k] * s + vs[k] * c;
    if (cell != nullptr) {
      cell->x[k] = static_cast<double>(x) + px;
      cell->y[k] = static_cast<double>(top) + py;
    }
    minX = k == 0 ? px : std::min(minX, px), maxX = k == 0 ? px : std::max(maxX, px);
    minY = k == 0 ? py : std::min(minY, py), maxY = k == 0 ? py : std::max(maxY, py);
  }
  return {x + static_cast<std::int64_t>(std::floor(minX)),
          top + static_cast<std::int64_t>(std::floor(minY)),
          x + static_cast<std::int64_t>(std::ceil(maxX)),
          top + static_cast<std::int64_t>(std::ceil(maxY))};
}

// Every box of an upright text holds the column of its reference point (the one left of it when
// the text ends there): when that column is taken, the text is refused before it is measured.
bool ColumnFree(Surface& s, const TextPlacement& placement, std::int32_t x, std::int32_t y,
                std::int32_t dy, std::int32_t alignment, std::int32_t lineHeight) {
  if (s.fontEscapement != 0) return true;
  const TextAlign align = ResolveAlignment(alignment, s.textAlignment);
  const std::int64_t column = align == TextAlign::kRightTop ? std::int64_t{x} - 1 : x;
  const std::int64_t top = Saturate32(std::int64_t{y} - dy);
  return placement.Free({column, top, column + 1, top + lineHeight}, 0);
}

void Draw(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
          std::int32_t y, std::int32_t dy, std::int32_t alignment, const TextBox& box,
          const TextCell* cell) {
  DrawTextAt(s, text, x, y, dy, alignment);
  if (placement != nullptr) placement->Add(box, s.fontEscapement, cell);
}

}  // namespace

TextPlacement::TextPlacement(const TextBox& picture, std::int32_t clearance)
    : picture_(picture), clearance_(std::max(kLineGap, clearance)) {
  const std::int64_t width = std::max<std::int64_t>(1, picture.right - picture.left);
  const std::int64_t height = std::max<std::int64_t>(1, picture.bottom - picture.top);
  cell_ = std::max(kMinCell, (std::max(width, height) + kGridSide - 1) / kGridSide);
  columns_ = (width + cell_ - 1) / cell_;
  rows_ = (height + cell_ - 1) / cell_;
  cells_.resize(static_cast<std::size_t>(columns_ * rows_));
}

void TextPlacement::Pads(std::int32_t reading, std::int32_t& padX, std::int32_t& padY) const {
  // The clearance keeps neighbours apart along the reading direction; lines of text stacked
  // across it stand as close as the lines of a paragraph, with a pixel between their cells for
  // the rounding of the line heights. A slanted text keeps the clearance both ways.
  const std::int32_t r = NormalReading(reading);
  padX = r == 900 || r == 2700 ? kLineGap : clearance_;
  padY = r == 0 || r == 1800 ? kLineGap : clearance_;
}

bool TextPlacement::Collides(const Placed& a, const TextBox& box, const TextCell* cell,
                             std::int32_t padX, std::int32_t padY) const {
  const std::int64_t px = std::max(a.padX, padX), py = std::max(a.padY, padY);
  if (!(box.left < a.box.right + px && a.box.left < box.right + px && box.top < a.box.bottom + py &&
        a.box.top < box.bottom + py)) {
    return false;
  }
  if (!a.slanted && cell == nullptr) return true;
  // A slanted text on either side (which keeps the clearance both ways): the boxes around the
  // cells meet, the cells themselves need not.
  return CellsMeet(cell != nullptr ? *cell : CellOf(box), a.slanted ? a.cell : CellOf(a.box),
                   static_cast<double>(std::max(px, py)));
}

void TextPlacement::CellRange(const TextBox& box, std::int64_t& c0, std::int64_t& c1,
                              std::int64_t& r0, std::int64_t& r1) const {
  const auto index = [this](std::int64_t v, std::int64_t origin, std::int64_t count) {
    return std::clamp<std::int64_t>((v - origin) / cell_, 0, count - 1);
  };
  c0 = index(box.left - clearance_, picture_.left, columns_);
  c1 = index(box.right + clearance_, picture_.left, columns_);
  r0 = index(box.top - clearance_, picture_.top, rows_);
  r1 = index(box.bottom + clearance_, picture_.top, rows_);
}

bool TextPlacement::Free(const TextBox& box, std::int32_t reading, const TextCell* cell) const {
  if (!WithinRoom(box, picture_)) return false;
  if (Empty(box)) return true;
  std::int32_t padX = 0, padY = 0;
  Pads(reading, padX, padY);
  if (!Slanted(reading)) cell = nullptr;
  if (last_ >= 0 && Collides(boxes_[static_cast<std::size_t>(last_)], box, cell, padX, padY)) {
    return false;
  }
  std::int64_t c0, c1, r0, r1;
  CellRange(box, c0, c1, r0, r1);
  for (std::int64_t r = r0; r <= r1; ++r) {
    for (std::int64_t c = c0; c <= c1; ++c) {
      for (const std::uint32_t i : cells_[static_cast<std::size_t>(r * columns_ + c)]) {
        if (Collides(boxes_[i], box, cell, padX, padY)) return false;
      }
    }
  }
  return true;
}

void TextPlacement::Add(const TextBox& box, std::int32_t reading, const TextCell* cell) {
  if (Empty(box)) return;
  Placed placed;
  placed.box = box;
  Pads(reading, placed.padX, placed.padY);
  if (cell != nullptr && Slanted(reading)) {
    placed.slanted = true;
    placed.cell = *cell;
  }
  const auto index = static_cast<std::uint32_t>(boxes_.size());
  boxes_.push_back(placed);
  last_ = index;
  // Filed under the cells the box itself covers; a question looks a clearance further.
  const auto cellOf = [this](std::int64_t v, std::int64_t origin, std::int64_t count) {
    return std::clamp<std::int64_t>((v - origin) / cell_, 0, count - 1);
  };
  const std::int64_t c0 = cellOf(box.left, picture_.left, columns_);
  const std::int64_t c1 = cellOf(box.right - 1, picture_.left, columns_);
  const std::int64_t r0 = cellOf(box.top, picture_.top, rows_);
  const std::int64_t r1 = cellOf(box.bottom - 1, picture_.top, rows_);
  for (std::int64_t r = r0; r <= r1; ++r) {
    for (std::int64_t c = c0; c <= c1; ++c) {
      cells_[static_cast<std::size_t>(r * columns_ + c)].push_back(index);
    }
  }
}

bool WithinRoom(const TextBox& box, const TextBox& room) {
  return box.left >= room.left && box.top >= room.top && box.right <= room.right &&
         box.bottom <= room.bottom;
}

namespace {

// The box of text in the current font, whose line height h the caller knows; a slanted text's
// cell goes to cell.
TextBox BoxOf(Surface& s, std::string_view text, std::int32_t x, std::int32_t y, std::int32_t dy,
              std::int32_t alignment, std::int64_t h, TextCell* cell = nullptr) {
  const TextAlign align = ResolveAlignment(alignment, s.textAlignment);
  const std::int64_t w = s.TextWidth(text);
  const std::int64_t top = Saturate32(std::int64_t{y} - dy);
  return BoxAt(x, top, w, h, align, s.fontEscapement, cell);
}

}  // namespace

TextBox MeasureTextBox(Surface& s, std::string_view text, std::int32_t x, std::int32_t y,
                       std::int32_t dy, std::int32_t alignment) {
  return BoxOf(s, text, x, y, dy, alignment, s.FontLineHeight());
}

bool DrawTextIfFree(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
                    std::int32_t y, std::int32_t dy, std::int32_t alignment,
                    std::int32_t lineHeight) {
  if (placement == nullptr || text.empty()) {
    DrawTextAt(s, text, x, y, dy, alignment);
    return true;
  }
  if (lineHeight >= 0 && !ColumnFree(s, *placement, x, y, dy, alignment, lineHeight)) return false;
  TextCell cell;
  const TextBox box =
      BoxOf(s, text, x, y, dy, alignment, lineHeight >= 0 ? lineHeight : s.FontLineHeight(), &cell);
  if (!placement->Free(box, s.fontEscapement, &cell)) return false;
  Draw(s, placement, text, x, y, dy, alignment, box, &cell);
  return true;
}

namespace {

// The longest beginning of text followed by "…" (the whole text first) that `fits` accepts, in
// `out` with its box; false when not even one character beyond leading blanks fits. A shorter
// text has a smaller box, so the answers turn from "fits" to "does not" once along the lengths.
template <typename Fits>
bool Shorten(std::string_view text, Fits fits, std::string& out, TextBox& box, TextCell& cell) {
  if (fits(text, box, cell)) {
    out.assign(text);
    return true;
  }
  const auto shortened = [&](std::size_t chars) {
    std::string cut(Utf8Prefix(text, chars));
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    cut += kEllipsis;
    return cut;
  };
  // Leading blanks alone are no text: at least one character beyond them must stay.
  const std::size_t blanks = text.find_first_not_of(' ');
  if (blanks == std::string_view::npos) return false;
  // Where not even the shortest beginning fits (a turned name across a narrow strip), that one
  // question settles it.
  std::size_t lo = blanks + 1, hi = Utf8Length(text);
  if (lo >= hi) return false;
  out = shortened(lo);
  if (!fits(out, box, cell)) return false;
  // fits(lo) holds, fits(hi) does not.
  TextBox candidateBox;
  TextCell candidateCell;
  while (hi - lo > 1) {
    const std::size_t mid = lo + (hi - lo) / 2;
    std::string candidate = shortened(mid);
    if (fits(candidate, candidateBox, candidateCell)) {
      lo = mid;
      out = std::move(candidate);
      box = candidateBox;
      cell = candidateCell;
    } else {
      hi = mid;
    }
  }
  return true;
}

}  // namespace

bool DrawTextShortened(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
                       std::int32_t y, std::int32_t dy, std::int32_t alignment,
                       const TextBox& room) {
  if (placement == nullptr || text.empty()) {
    DrawTextAt(s, text, x, y, dy, alignment);
    return true;
  }
  const std::int64_t h = s.FontLineHeight();
  const auto fits = [&](std::string_view candidate, TextBox& box, TextCell& cell) {
    box = BoxOf(s, candidate, x, y, dy, alignment, h, &cell);
    return WithinRoom(box, room) && placement->Free(box, s.fontEscapement, &cell);
  };
  std::string shown;
  TextBox box;
  TextCell cell;
  if (!Shorten(text, fits, shown, box, cell)) return false;
  Draw(s, placement, shown, x, y, dy, alignment, box, &cell);
  return true;
}

bool DrawCommentIfFree(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
                       std::int32_t y, std::int32_t dy, std::int32_t alignment,
                       std::int32_t lineHeight) {
  if (placement == nullptr || text.empty()) {
    DrawTextAt(s, text, x, y, dy, alignment);
    return true;
  }
  if (lineHeight >= 0 && !ColumnFree(s, *placement, x, y, dy, alignment, lineHeight)) return false;
  const TextBox& picture = placement->picture();
  const std::int64_t h = lineHeight >= 0 ? lineHeight : s.FontLineHeight();
  const auto fits = [&](std::string_view candidate, TextBox& box, TextCell& cell) {
    box = BoxOf(s, candidate, x, y, dy, alignment, h, &cell);
    return WithinRoom(box, picture);
  };
  std::string shown;
  TextBox box;
  TextCell cell;
  if (!Shorten(text, fits, shown, box, cell) || !placement->Free(box, s.fontEscapement, &cell)) {
    return false;
  }
  Draw(s, placement, shown, x, y, dy, alignment, box, &cell);
  return true;
}

}  // namespace sx
