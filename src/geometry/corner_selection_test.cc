// Which corners FilletOptions::corners cuts: convex and concave measured
// against the outline's region, in both windings, for every style, on
// outlines of points and on polylines with arcs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "geometry/test_geometry.h"
#include "rrensen/fillet.h"
#include "rrensen/polyline.h"

namespace {

using rrensen::BulgeVertex;
using rrensen::Closing;
using rrensen::CornerSelection;
using rrensen::CornerStyle;
using rrensen::FilletOptions;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Result;
using rrensen::Winding;
using test_geometry::kPi;

/// The indices of the corners of closed `points` that turn the way
/// `region_side` (+1 left, -1 right) says for convex, or the other way.
std::set<int> Expected(const std::vector<Point>& points, int region_side,
                       CornerSelection corners) {
  return test_geometry::CornersWhere(points, [&](double turn) {
    return corners == CornerSelection::kAll ||
           (corners == CornerSelection::kConvex) == ((turn > 0) == (region_side > 0));
  });
}

TEST(CornerSelection, CutsTheCornersThatTurnWithOrAgainstTheRegion) {
  std::mt19937 rng(7);
  const CornerStyle styles[] = {CornerStyle::kChordArc, CornerStyle::kRadiusArc,
                                CornerStyle::kDistanceChamfer,
                                CornerStyle::kChordChamfer};
  const CornerSelection selections[] = {CornerSelection::kConvex,
                                        CornerSelection::kConcave};
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<Point> points = test_geometry::Star(rng, 5 + trial % 9);
    const bool clockwise = trial % 2 == 1;
    if (clockwise) std::reverse(points.begin(), points.end());
    const int side = clockwise ? -1 : 1;
    for (CornerStyle style : styles) {
      for (CornerSelection corners : selections) {
        FilletOptions options{2.0, Closing::kClosed, style, corners};
        const Outline o = rrensen::Fillet(points, options);
        ASSERT_EQ(o.result, Result::kDrawn) << trial;
        std::set<int> cut;
        for (const rrensen::Corner& c : o.corners) cut.insert(c.point);
        const std::set<int> wanted = Expected(points, side, corners);
        EXPECT_EQ(cut, wanted) << trial;
        EXPECT_EQ(o.corners_unselected,
                  static_cast<int>(points.size() - wanted.size()));
        // A corner left sharp is its point, bit for bit, where a line ends.
        for (size_t k = 0; k < points.size(); ++k) {
          if (wanted.count(static_cast<int>(k)) == 1) continue;
          const bool kept = std::any_of(
              o.segments.begin(), o.segments.end(), [&](const rrensen::Segment& s) {
                return !s.is_arc && test_geometry::SameBits(s.end.x, points[k].x) &&
                       test_geometry::SameBits(s.end.y, points[k].y);
              });
          EXPECT_TRUE(kept) << trial << " corner " << k;
        }
        // The winding given overrides the outline's own: the other one
        // picks the other corners.
        options.winding = clockwise ? Winding::kCounterClockwise : Winding::kClockwise;
        std::set<int> flipped;
        for (const rrensen::Corner& c : rrensen::Fillet(points, options).corners) {
          flipped.insert(c.point);
        }
        EXPECT_EQ(flipped, Expected(points, -side, corners)) << trial;
        // The largest size is exact: it draws, the next double up does not.
        options.winding = Winding::kOfTheOutline;
        const std::optional<double> largest = rrensen::LargestFilletSize(points, options);
        ASSERT_TRUE(largest.has_value());
        options.size = *largest;
        EXPECT_EQ(rrensen::Fillet(points, options).result, Result::kDrawn);
        options.size = std::nextafter(*largest, test_geometry::kInf);
        EXPECT_NE(rrensen::Fillet(points, options).result, Result::kDrawn);
      }
    }
  }
}

/// An open outline has no region, nor a closed one of no area: every
/// corner is cut. A selection that is none of the values is refused.
TEST(CornerSelection, WithoutARegionEveryCornerIsCut) {
  const std::vector<Point> open = {{0, 0}, {100, 0}, {100, 100}, {200, 100}};
  // A bow tie: two lobes of equal area, one each way round.
  const std::vector<Point> bow_tie = {{0, 0}, {100, 100}, {100, 0}, {0, 100}};
  FilletOptions options{2.0, Closing::kOpen, CornerStyle::kRadiusArc,
                        CornerSelection::kConcave};
  EXPECT_EQ(rrensen::Fillet(open, options).corners.size(), 2u);
  options.closing = Closing::kClosed;
  EXPECT_EQ(rrensen::Fillet(bow_tie, options).corners.size(), 4u);
  options.corners = static_cast<CornerSelection>(3);
  EXPECT_EQ(rrensen::Fillet(open, options).problem.kind, rrensen::Refusal::kInvalidStyle);
  // A refused outline has no corners, selected or not.
  const std::vector<Point> ell = {{0, 0}, {10, 0}, {10, 3}, {3, 3}, {3, 10}, {0, 10}};
  const Outline refused = rrensen::Fillet(
      ell, {4.0, Closing::kClosed, CornerStyle::kRadiusArc, CornerSelection::kConvex});
  EXPECT_EQ(refused.result, Result::kTooClose);
  EXPECT_EQ(refused.corners_unselected, 0);
}

/// A closed polyline with an arc: a slot end (a half circle) on the right
/// of a plate with a notch in its bottom side. Its straight runs are open,
/// and their corners are convex or concave as the whole plate's are, in
/// both windings; open, the same polyline has every corner cut.
TEST(CornerSelection, APolylineWithArcsIsMeasuredAsAWhole) {
  // Counter-clockwise: the bottom with a notch, the half circle bulging
  // out on the right, the top.
  std::vector<BulgeVertex> plate = {{{0, 0}, 0},     {{40, 0}, 0},   {{40, 10}, 0},
                                    {{60, 10}, 0},   {{60, 0}, 0},   {{100, 0}, 1},
                                    {{100, 100}, 0}, {{0, 100}, 0}};
  // Corners of two straight pieces: the notch's two concave ones (at 40,10
  // and 60,10), its two convex ones (at 40,0 and 60,0), and (0,100), (0,0).
  const struct {
    CornerSelection corners;
    int cut;
  } cases[] = {{CornerSelection::kAll, 6}, {CornerSelection::kConvex, 4},
               {CornerSelection::kConcave, 2}};
  for (bool clockwise : {false, true}) {
    std::vector<BulgeVertex> w = plate;
    if (clockwise) {
      // The same plate the other way round: each bulge moves to the piece's
      // other end, negated.
      std::vector<BulgeVertex> reversed;
      for (size_t i = w.size(); i-- > 0;) {
        const double bulge = w[(i + w.size() - 1) % w.size()].bulge;
        reversed.push_back({w[i].point, -bulge});
      }
      w = reversed;
    }
    for (const auto& c : cases) {
      FilletOptions options{1.0, Closing::kClosed, CornerStyle::kRadiusArc, c.corners};
      const rrensen::PolylineResult r = rrensen::FilletPolyline(w, options);
      EXPECT_EQ(r.corners_filleted, c.cut) << clockwise;
      EXPECT_EQ(r.corners_unselected, 6 - c.cut) << clockwise;
      options.closing = Closing::kOpen;
      EXPECT_EQ(rrensen::FilletPolyline(w, options).corners_unselected, 0);
    }
    // A cutter running outside it relieves the notch's concave corners.
    FilletOptions relief{1.0, Closing::kClosed, CornerStyle::kDogbone};
    EXPECT_EQ(rrensen::FilletPolyline(w, relief).corners_filleted, 2) << clockwise;
  }
}

}  // namespace
