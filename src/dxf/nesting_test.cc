#include "dxf/nesting.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace dxf {
namespace {

using Outline = std::vector<rrensen::BulgeVertex>;

/// A square from (x, y), `side` wide, either way round.
Outline Square(double x, double y, double side, bool clockwise = false) {
  Outline square = {{{x, y}, 0}, {{x + side, y}, 0}, {{x + side, y + side}, 0},
                    {{x, y + side}, 0}};
  if (clockwise) std::swap(square[1], square[3]);
  return square;
}

TEST(Holes, AreInsideAnOddNumberOfOthers) {
  // A disc of radius 50 about the origin, two half circles.
  const Outline disc = {{{-50, 0}, 1.0}, {{50, 0}, 1.0}};
  const struct {
    const char* name;
    std::vector<Outline> outlines;
    std::vector<bool> holes;
  } cases[] = {
      {"apart", {Square(0, 0, 10), Square(20, 0, 10)}, {false, false}},
      {"a hole, a boss in it, and either winding",
       {Square(0, 0, 100), Square(10, 10, 50, true), Square(20, 20, 10)}, {false, true, false}},
      {"a hole in the boss: inside three",
       {Square(0, 0, 100), Square(10, 10, 50), Square(20, 20, 30), Square(25, 25, 5)},
       {false, true, false, true}},
      {"inside an arc, beyond its chords' midpoints", {disc, Square(30, 30, 5)}, {false, true}},
      {"outside the arc, inside its bounding box", {disc, Square(40, 40, 5)}, {false, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(Holes(c.outlines), c.holes) << c.name;
}

}  // namespace
}  // namespace dxf
