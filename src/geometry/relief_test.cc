// Dogbone and T-bone reliefs: properties on random outlines in both
// windings, for a cutter outside (a part) and inside (a hole), each T-bone
// side, and their refusals.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "geometry/test_geometry.h"
#include "rrensen/fillet.h"

namespace {

using rrensen::Closing;
using rrensen::CornerStyle;
using rrensen::FilletOptions;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Result;
using rrensen::TBoneSide;
using rrensen::ToolSide;
using test_geometry::Dist;
using test_geometry::kPi;

Point Along(Point from, Point to, double distance) {
  const double length = Dist(from, to);
  return {from.x + distance * (to.x - from.x) / length,
          from.y + distance * (to.y - from.y) / length};
}

/// The point of the arc of `s` at a fraction `f` of its sweep.
Point OnArc(const rrensen::Segment& s, double f) {
  const double start = std::atan2(s.start.y - s.centre.y, s.start.x - s.centre.x);
  const double angle = start + f * s.sweep;
  return {s.centre.x + s.radius * std::cos(angle), s.centre.y + s.radius * std::sin(angle)};
}

constexpr double kTol = 1e-9 * 500;

TEST(Reliefs, SitWhereTheCutterCannotReachAndReachTheCornerPoint) {
  std::mt19937 rng(11);
  const TBoneSide sides[] = {TBoneSide::kLonger, TBoneSide::kShorter, TBoneSide::kFirst,
                             TBoneSide::kSecond};
  for (int trial = 0; trial < 60; ++trial) {
    std::vector<Point> points = test_geometry::Star(rng, 5 + trial % 11, 150);
    const bool clockwise = trial % 2 == 1;
    if (clockwise) std::reverse(points.begin(), points.end());
    const size_t n = points.size();
    for (ToolSide tool : {ToolSide::kOutside, ToolSide::kInside}) {
      for (CornerStyle style : {CornerStyle::kDogbone, CornerStyle::kTBone}) {
        FilletOptions options{6.0, Closing::kClosed, style};
        options.tool_side = tool;
        options.tbone_side = sides[trial % 4];
        const Outline o = rrensen::Fillet(points, options);
        ASSERT_EQ(o.result, Result::kDrawn) << trial;
        // The cutter's side of each corner: where it turns towards, for a part's
        // concave corners and a hole's convex ones, up to the largest angle.
        const std::set<int> wanted = test_geometry::CornersWhere(points, [&](double turn) {
          return ((turn > 0) != clockwise) == (tool == ToolSide::kInside) &&
                 kPi - std::fabs(turn) <= options.relief_max_angle;
        });
        std::set<int> cut;
        for (const rrensen::Segment& s : o.segments) {
          if (s.corner < 0) continue;
          const rrensen::Corner& c = o.corners[static_cast<size_t>(s.corner)];
          cut.insert(c.point);
          const size_t k = static_cast<size_t>(c.point);
          const Point &p = points[k], &before = points[(k + n - 1) % n];
          const Point& after = points[(k + 1) % n];
          // An arc of the cutter's radius about a centre r from the corner
          // point: the cutter there reaches it.
          ASSERT_TRUE(s.is_arc);
          EXPECT_EQ(s.radius, 3.0);
          EXPECT_NEAR(Dist(s.centre, p), 3.0, kTol);
          EXPECT_NEAR(Dist(s.start, s.centre), 3.0, kTol);
          EXPECT_NEAR(Dist(s.end, s.centre), 3.0, kTol);
          // It leaves and rejoins the sides where the rule puts it.
          EXPECT_NEAR(Dist(s.start, Along(p, before, c.cut_back)), 0, kTol);
          EXPECT_NEAR(Dist(s.end, Along(p, after, c.cut_back_out)), 0, kTol);
          const double t = c.turn;
          if (style == CornerStyle::kDogbone) {
            EXPECT_NEAR(c.cut_back, 6 * std::sin(std::fabs(t) / 2), kTol);
            EXPECT_NEAR(s.sweep, 2 * t, 1e-12);
            // Through the corner point, halfway round.
            EXPECT_NEAR(Dist(OnArc(s, 0.5), p), 0, kTol);
          } else {
            const double in = Dist(before, p), out = Dist(p, after);
            const TBoneSide side = options.tbone_side;
            const bool on_in = side == TBoneSide::kFirst ||
                               (side == TBoneSide::kLonger && in >= out) ||
                               (side == TBoneSide::kShorter && in <= out);
            const double other = 6 * std::max(0.0, -std::cos(t));
            EXPECT_NEAR(c.cut_back, on_in ? 6 : other, kTol);
            EXPECT_NEAR(c.cut_back_out, on_in ? other : 6, kTol);
            EXPECT_NEAR(std::fabs(s.sweep), std::max(kPi, 2 * std::fabs(t)), 1e-12);
            // Round the half of the circle away from the cutter: the arc's
            // middle lies across the side holding the centre from where the
            // corner turns to.
            const Point& a = on_in ? before : p;
            const Point& b = on_in ? p : after;
            EXPECT_LT(test_geometry::Cross(a, b, OnArc(s, 0.5)) * t, 0);
          }
          EXPECT_GT(s.sweep * t, 0);
        }
        EXPECT_EQ(cut, wanted) << trial;
        EXPECT_EQ(o.corners_unselected, static_cast<int>(n - wanted.size()));
        // The largest diameter fits, the next double up does not.
        const std::optional<double> largest = rrensen::LargestFilletSize(points, options);
        ASSERT_TRUE(largest.has_value());
        // (No corner to relieve: every size below infinity fits.)
        if (wanted.empty()) continue;
        options.size = *largest;
        EXPECT_EQ(rrensen::Fillet(points, options).result, Result::kDrawn);
        options.size = std::nextafter(*largest, test_geometry::kInf);
        EXPECT_EQ(rrensen::Fillet(points, options).problem.kind, rrensen::Refusal::kShortSide);
      }
    }
  }
}

TEST(Reliefs, RightAnglesOpenOutlinesAndTheLargestAngle) {
  // A square, counter-clockwise, cut from inside (a pocket): every corner a
  // half circle. Its corners are convex: cut from outside, none is.
  const std::vector<Point> square = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  FilletOptions options{10.0, Closing::kClosed, CornerStyle::kDogbone};
  options.tool_side = ToolSide::kInside;
  Outline o = rrensen::Fillet(square, options);
  ASSERT_EQ(o.corners.size(), 4u);
  EXPECT_NEAR(o.corners[0].cut_back, 10 * std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(rrensen::Bulge(o.segments[1]), 1.0, 1e-15);
  options.style = CornerStyle::kTBone;
  o = rrensen::Fillet(square, options);
  EXPECT_EQ(o.corners[0].cut_back, 10.0);
  EXPECT_EQ(o.corners[0].cut_back_out, 0.0);
  EXPECT_EQ(o.corners[0].tangent_out.x, square[1].x);
  options.tool_side = ToolSide::kOutside;
  EXPECT_EQ(rrensen::Fillet(square, options).corners.size(), 0u);
  // Open, with no winding given: no side for the cutter, at any size.
  options.closing = Closing::kOpen;
  EXPECT_EQ(rrensen::Fillet(square, options).problem.kind, rrensen::Refusal::kNoToolSide);
  EXPECT_FALSE(rrensen::LargestFilletSize(square, options).has_value());
  options.winding = rrensen::Winding::kClockwise;
  EXPECT_EQ(rrensen::Fillet(square, options).corners.size(), 2u);
  // A corner of 150 degrees gets a relief up to a largest angle of 150
  // degrees, not below; and the largest angle must be in (0, pi].
  const std::vector<Point> wide = {{0, 0}, {100, 0}, {100 + 100 * std::cos(kPi / 6), 50},
                                   {0, 50}};
  options = FilletOptions{4.0, Closing::kClosed, CornerStyle::kDogbone};
  options.tool_side = ToolSide::kInside;
  options.relief_max_angle = 150.0000001 * kPi / 180;
  EXPECT_EQ(rrensen::Fillet(wide, options).corners.size(), 4u);
  options.relief_max_angle = 149.9999999 * kPi / 180;
  EXPECT_EQ(rrensen::Fillet(wide, options).corners.size(), 3u);
  // (Chord arcs, which take no relief, refuse it as well.)
  for (double bad : {0.0, 3.2, std::nan("")}) {
    options.relief_max_angle = bad;
    for (CornerStyle style : {CornerStyle::kDogbone, CornerStyle::kChordArc}) {
      options.style = style;
      EXPECT_EQ(rrensen::Fillet(wide, options).problem.kind, rrensen::Refusal::kInvalidStyle);
    }
  }
}

}  // namespace
