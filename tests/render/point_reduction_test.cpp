#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "render/profile.h"

namespace sx {
namespace {

using Curve = std::vector<StripPoint>;

Curve Thin(const Curve& in) {
  Curve out;
  AxisThinner thinner;
  AxisThinner::Out kept;
  for (const StripPoint& p : in) {
    const int n = thinner.Add(p, kept);
    out.insert(out.end(), kept.begin(), kept.begin() + n);
  }
  const int n = thinner.Finish(kept);
  out.insert(out.end(), kept.begin(), kept.begin() + n);
  return out;
}

// The cells a line through the points covers: segments along one row cover their whole stretch,
// others are sampled finely enough to hit every cell they cross.
std::set<std::pair<std::int32_t, std::int32_t>> Cells(const Curve& c) {
  std::set<std::pair<std::int32_t, std::int32_t>> cells;
  if (c.size() == 1) cells.insert({c[0].a, c[0].v});
  for (std::size_t i = 1; i < c.size(); ++i) {
    const StripPoint p = c[i - 1], q = c[i];
    if (p.a == q.a) {
      for (std::int32_t v = std::min(p.v, q.v); v <= std::max(p.v, q.v); ++v)
        cells.insert({p.a, v});
      continue;
    }
    const int steps = 64 * (std::abs(q.a - p.a) + std::abs(q.v - p.v)) + 1;
    for (int s = 0; s <= steps; ++s) {
      const double t = static_cast<double>(s) / steps;
      cells.insert({static_cast<std::int32_t>(std::lround(p.a + t * (q.a - p.a))),
                    static_cast<std::int32_t>(std::lround(p.v + t * (q.v - p.v)))});
    }
  }
  return cells;
}

// Segments from one row to another and the direction of the first and last move within each row:
// what decides the joins where the line turns into and out of a row.
struct Turns {
  std::vector<std::pair<StripPoint, StripPoint>> crossings;
  std::vector<std::pair<int, int>> rowDirections;
  bool operator==(const Turns&) const = default;
};

Turns TurnsOf(const Curve& c) {
  Turns t;
  const auto sign = [](std::int32_t d) { return d > 0 ? 1 : (d < 0 ? -1 : 0); };
  std::size_t start = 0;
  for (std::size_t i = 1; i <= c.size(); ++i) {
    if (i < c.size() && c[i].a == c[start].a) continue;
    // Row c[start .. i - 1]: first and last move that goes anywhere.
    int first = 0, last = 0;
    for (std::size_t k = start + 1; k < i && first == 0; ++k) first = sign(c[k].v - c[k - 1].v);
    for (std::size_t k = i - 1; k > start && last == 0; --k) last = sign(c[k].v - c[k - 1].v);
    t.rowDirections.push_back({first, last});
    if (i < c.size()) t.crossings.push_back({c[i - 1], c[i]});
    start = i;
  }
  return t;
}

// A row of more points than pass unchanged: `values` along row `a`, repeated `times`.
Curve Row(std::int32_t a, const std::vector<std::int32_t>& values, int times) {
  Curve row;
  for (int t = 0; t < times; ++t) {
    for (const std::int32_t v : values) row.push_back({a, v});
  }
  return row;
}

TEST(AxisThinnerTest, KeepsEndsExtremesAndTurnsOfEachRow) {
  // Row 5: first 4, then 6 (leaving upwards), lowest 1, highest 9, last 3 reached downwards.
  Curve curve{{4, 7}};
  const Curve row = Row(5, {4, 6, 5, 1, 2, 9, 8, 7, 3}, 3);
  curve.insert(curve.end(), row.begin(), row.end());
  curve.push_back({6, 2});
  const Curve thin = Thin(curve);
  EXPECT_EQ(thin.front(), curve.front());
  EXPECT_EQ(thin.back(), curve.back());
  EXPECT_LE(thin.size(), 2u + 6u);
  for (const StripPoint p :
       {StripPoint{5, 4}, StripPoint{5, 1}, StripPoint{5, 9}, StripPoint{5, 3}}) {
    EXPECT_NE(std::find(thin.begin(), thin.end(), p), thin.end()) << p.a << "," << p.v;
  }
  EXPECT_EQ(Cells(thin), Cells(curve));
  EXPECT_EQ(TurnsOf(thin), TurnsOf(curve));

  // Short rows pass as they are, repeats included.
  const Curve few{{1, 1}, {2, 5}, {2, 5}, {2, 3}, {3, 2}};
  EXPECT_EQ(Thin(few), few);
  EXPECT_EQ(Thin({{1, 1}}), (Curve{{1, 1}}));
  EXPECT_EQ(Thin({}), Curve{});
  // A long row of one value is one point.
  EXPECT_EQ(Thin(Row(2, {7}, 40)), (Curve{{2, 7}}));
}

TEST(AxisThinnerTest, RandomCurvesCoverTheSameCellsWithTheSameTurns) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> value(-50, 50), rowLength(1, 60);
  for (int round = 0; round < 300; ++round) {
    Curve curve;
    // Rows may repeat a value or come back to an earlier row: the thinner only merges neighbours.
    for (int row = 0; row < 20; ++row) {
      const int a = round % 3 == 0 ? row % 4 : row;
      for (int k = rowLength(random); k > 0; --k) curve.push_back({a, value(random) / 10 * 10});
    }
    const Curve thin = Thin(curve);
    ASSERT_EQ(Cells(thin), Cells(curve)) << "round " << round;
    ASSERT_EQ(TurnsOf(thin), TurnsOf(curve)) << "round " << round;
    ASSERT_EQ(thin.front(), curve.front());
    ASSERT_EQ(thin.back(), curve.back());
    for (const StripPoint p : thin)
      ASSERT_NE(std::find(curve.begin(), curve.end(), p), curve.end());
  }
}

}  // namespace
}  // namespace sx
