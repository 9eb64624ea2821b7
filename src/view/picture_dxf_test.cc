#include "view/picture_dxf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace view {
namespace {

const double kPi = std::acos(-1.0);

rrensen::Point OnArc(const PictureArc& a, double degrees) {
  return {a.centre.x + a.radius * std::cos(degrees * kPi / 180),
          a.centre.y + a.radius * std::sin(degrees * kPi / 180)};
}

TEST(PictureDxf, ArcsRunCounterClockwiseWhicheverWayTheOutlineTurns) {
  struct {
    const char* name;
    std::vector<rrensen::Point> points;
  } cases[] = {
      {"left turn", {{0, 0}, {100, 0}, {100, 100}}},
      {"right turn", {{0, 0}, {100, 0}, {100, -100}}},
  };
  for (const auto& c : cases) {
    rrensen::Outline outline = rrensen::FilletOutline(c.points, 5.0);
    ASSERT_EQ(outline.result, rrensen::Result::kDrawn);
    DxfPicture picture;
    AddOutline(picture, outline, kOutlineLayer);
    ASSERT_EQ(picture.arcs.size(), 1u) << c.name;
    ASSERT_EQ(picture.lines.size(), 2u) << c.name;
    const PictureArc& arc = picture.arcs[0];
    // A quarter turn: the counter-clockwise sweep from start to end is 90.
    double sweep = std::fmod(arc.end_degrees - arc.start_degrees + 360, 360);
    EXPECT_NEAR(sweep, 90.0, 1e-9) << c.name;
    // Its ends are the tangent points, which the lines meet.
    for (double degrees : {arc.start_degrees, arc.end_degrees}) {
      rrensen::Point p = OnArc(arc, degrees);
      bool meets = false;
      for (const PictureLine& l : picture.lines) {
        for (const rrensen::Point& q : {l.from, l.to}) {
          meets = meets || std::hypot(p.x - q.x, p.y - q.y) < 1e-9;
        }
      }
      EXPECT_TRUE(meets) << c.name << " at " << degrees;
    }
  }
}

}  // namespace
}  // namespace view
