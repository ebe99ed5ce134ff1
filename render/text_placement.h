#pragma once
// Where the texts of one plot pass stand, so that no text overprints another or leaves the
// picture. Every text the pass draws asks first: the registry keeps the box of each text drawn
// (a turned text by the box around it) and answers whether a new box lies inside the picture and
// clear of all of them, with a clearance of at least one blank along the reading direction, so
// that neighbouring labels on one line never run together into one number or word.
//
// Each kind of text decides what gives way: a label, value text or comment that is not free is
// left out (DrawTextIfFree); a name, title, stamp or legend line is cut short with "…" until it
// fits its room and is free (DrawTextShortened). Without a registry both draw as DrawTextAt does.
//
// Boxes are the text cells the surface draws: the advance width and the line height of the
// current font, from the reference point DrawTextAt gives, turned by the font's escapement.

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "render/surface.h"

namespace sx {

// A box in device units, half-open: [left, right) x [top, bottom).
struct TextBox {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TextBox&) const = default;
};

// The cell of a slanted text as it lies on the page: its four corners in turn. The box around a
// cell at 45 degrees is twice as high as the cell is across, so slanted neighbours side by side
// are judged by their cells, not by their boxes.
struct TextCell {
  double x[4] = {}, y[4] = {};
};

// The least clearance between neighbouring texts on screen, in device pixels: a blank of the
// smaller plot fonts, and a little more than the few pixels at which two numbers read as one.
inline constexpr std::int32_t kMinTextClearance = 4;

inline constexpr std::int64_t kNoLimit = std::int64_t{1} << 40;
// A room that limits nothing.
inline constexpr TextBox kAnyRoom{-kNoLimit, -kNoLimit, kNoLimit, kNoLimit};

class TextPlacement {
 public:
  // picture: the area texts must stay in; clearance: the least distance between two texts along
  // their reading direction.
  TextPlacement(const TextBox& picture, std::int32_t clearance);

  const TextBox& picture() const { return picture_; }
  std::int32_t clearance() const { return clearance_; }

  // Inside the picture and clear of every text placed so far. `reading` is the escapement of
  // the text in tenths of a degree: it says along which direction the clearance is kept. A
  // slanted text (not at a quarter turn) gives its cell as well; box is the box around it.
  bool Free(const TextBox& box, std::int32_t reading, const TextCell* cell = nullptr) const;
  void Add(const TextBox& box, std::int32_t reading, const TextCell* cell = nullptr);

  std::size_t size() const { return boxes_.size(); }

 private:
  struct Placed {
    TextBox box;
    std::int32_t padX = 0, padY = 0;  // clearance this text keeps across and along y
    bool slanted = false;             // then cell holds its turned cell
    TextCell cell;
  };
  void Pads(std::int32_t reading, std::int32_t& padX, std::int32_t& padY) const;
  bool Collides(const Placed& a, const TextBox& box, const TextCell* cell, std::int32_t padX,
                std::int32_t padY) const;
  // The grid cells a box (grown by the clearance) touches.
  void CellRange(const TextBox& box, std::int64_t& c0, std::int64_t& c1, std::int64_t& r0,
                 std::int64_t& r1) const;

  TextBox picture_;
  std::int32_t clearance_;
  // A coarse grid over the picture: each cell lists the texts that reach into it, so that a
  // question looks only at the texts nearby, however many the pass has drawn.
  std::int64_t cell_ = 64;
  std::int64_t columns_ = 1, rows_ = 1;
  std::vector<std::vector<std::uint32_t>> cells_;
  std::vector<Placed> boxes_;
  // Texts along a strip mostly collide with the one drawn just before: asked first.
  std::int64_t last_ = -1;
};

// The box DrawTextAt(s, text, x, y, dy, alignment) would fill in the surface's current font.
TextBox MeasureTextBox(Surface& s, std::string_view text, std::int32_t x, std::int32_t y,
                       std::int32_t dy, std::int32_t alignment);

// DrawTextAt when the text's box is free, and the box is then taken. Returns whether it was
// drawn. A lineHeight >= 0 (that of the current font) lets a text whose reference point is
// already taken be refused without measuring it, which is what dense comment and value columns
// mostly ask.
bool DrawTextIfFree(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
                    std::int32_t y, std::int32_t dy, std::int32_t alignment,
                    std::int32_t lineHeight = -1);

// DrawTextAt of the whole text, or of its longest beginning followed by "…", whose box lies
// within room and is free. Returns whether anything was drawn (nothing when not even one
// character and the ellipsis fit).
bool DrawTextShortened(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
                       std::int32_t y, std::int32_t dy, std::int32_t alignment,
                       const TextBox& room);

// A comment: as DrawTextIfFree, but one that reaches beyond the picture is first cut with "…" at
// its edge, so that a comment column by the picture's edge still shows the beginnings.
bool DrawCommentIfFree(Surface& s, TextPlacement* placement, std::string_view text, std::int32_t x,
                       std::int32_t y, std::int32_t dy, std::int32_t alignment,
                       std::int32_t lineHeight = -1);

// Whether box lies within room.
bool WithinRoom(const TextBox& box, const TextBox& room);

}  // namespace sx
