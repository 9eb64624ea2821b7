#include "rrensen/recut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/test_geometry.h"

namespace {

using namespace test_geometry;  // NOLINT(google-build-using-namespace)

using rrensen::BulgeVertex;
using rrensen::Closing;
using rrensen::CornerSelection;
using rrensen::CornerStyle;
using rrensen::EarlierCuts;
using rrensen::FilletOptions;
using rrensen::FilletPolyline;
using rrensen::PolylineResult;
using rrensen::RecutPolyline;

std::vector<BulgeVertex> Straight(const std::vector<Point>& points) {
  std::vector<BulgeVertex> vertices;
  for (const Point& p : points) vertices.push_back({p, 0.0});
  return vertices;
}

FilletOptions Closed(double size, CornerStyle style,
                     CornerSelection corners = CornerSelection::kAll) {
  return {size, Closing::kClosed, style, corners};
}

/// Equal to within `tolerance` in every coordinate, and in every bulge
/// relative to 1.
void ExpectNear(const std::vector<BulgeVertex>& got,
                const std::vector<BulgeVertex>& want, double tolerance) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); ++k) {
    EXPECT_NEAR(got[k].point.x, want[k].point.x, tolerance) << k;
    EXPECT_NEAR(got[k].point.y, want[k].point.y, tolerance) << k;
    EXPECT_NEAR(got[k].bulge, want[k].bulge, 1e-9) << k;
  }
}

// (Random outlines re-cut in every style: tests/dxf_recut.py.) The chord
// style draws a straight chord, the size long, where a corner turns by 10
// degrees or less: an earlier cut only when chamfers that long are asked.
TEST(RecutPolyline, ChordsOfShallowCornersWhenAsked) {
  const std::vector<BulgeVertex> sharp =
      Straight({{0, 0}, {100, 0}, {200, 8}, {200, 100}, {0, 100}});
  const PolylineResult first = FilletPolyline(sharp, Closed(5.0, CornerStyle::kChordArc));
  auto recut = [&](double chamfer_max_length) {
    const EarlierCuts cuts{rrensen::kDefaultTangentTolerance, kInf, chamfer_max_length};
    return RecutPolyline(first.vertices, Closed(2.0, CornerStyle::kChordArc), cuts);
  };
  EXPECT_EQ(recut(0.0).earlier_cuts, 4);
  EXPECT_EQ(recut(4.99).earlier_cuts, 4);  // a piece a little longer is a side
  EXPECT_EQ(recut(5.0).earlier_cuts, 5);
  ExpectNear(recut(5.0).vertices,
             FilletPolyline(sharp, Closed(2.0, CornerStyle::kChordArc)).vertices, 1e-9);
}

// Arcs that are not fillets stay, bit for bit, whatever else is re-cut.
TEST(RecutPolyline, KeepsArcsThatAreNotFillets) {
  const double quarter = std::tan(kPi / 8);  // a quarter circle
  EarlierCuts small;
  small.largest_radius = 10.0;
  const struct {
    const char* what;
    std::vector<BulgeVertex> outline;
    EarlierCuts cuts;
  } cases[] = {
      {"a notch in a straight side",
       {{{0, 0}}, {{40, 0}, -quarter}, {{60, 0}}, {{100, 0}}, {{100, 50}}, {{0, 50}}},
       {}},
      {"an arc tangent to the side before it only",
       {{{0, 0}}, {{90, 0}, quarter}, {{100, 10}}, {{120, 50}}, {{0, 50}}},
       {}},
      {"a half circle at a slot's end",
       {{{0, 0}}, {{100, 0}, 1.0}, {{100, 20}}, {{0, 20}}},
       {}},
      {"an arc between two arcs",
       {{{0, 0}}, {{90, 0}, quarter}, {{100, 10}, quarter}, {{90, 20}, quarter},
        {{80, 10}}, {{0, 10}}},
       {}},
      {"a radius above the largest",
       {{{0, 0}}, {{80, 0}, quarter}, {{100, 20}}, {{100, 50}}, {{0, 50}}},
       small},
  };
  for (const auto& c : cases) {
    const PolylineResult r =
        RecutPolyline(c.outline, Closed(3.0, CornerStyle::kRadiusArc), c.cuts);
    EXPECT_EQ(r.earlier_cuts, 0) << c.what;
    // As filleting gives it: every arc the caller's, bit for bit.
    ExpectNear(r.vertices, FilletPolyline(c.outline, Closed(3.0, CornerStyle::kRadiusArc)).vertices,
               0.0);
  }
  // The last with its radius allowed is a fillet.
  EXPECT_EQ(RecutPolyline(cases[4].outline, Closed(3.0, CornerStyle::kRadiusArc), {})
                .earlier_cuts,
            1);
}

// A re-cut that does not fit leaves the outline as it was, earlier cuts and
// all, and says the largest size; at that size it fits.
TEST(RecutPolyline, RefusedRunsKeepTheirEarlierCuts) {
  const std::vector<BulgeVertex> sharp =
      Straight({{0, 0}, {60, 0}, {60, 30}, {0, 30}});
  for (const CornerStyle style : {CornerStyle::kRadiusArc, CornerStyle::kDistanceChamfer}) {
    const PolylineResult r5 = FilletPolyline(sharp, Closed(5.0, style));
    EarlierCuts cuts;
    cuts.chamfer_max_length = 10.0;
    const PolylineResult refused = RecutPolyline(r5.vertices, Closed(20.0, style), cuts);
    ExpectNear(refused.vertices, r5.vertices, 0.0);  // bit for bit
    EXPECT_EQ(refused.sources, std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    ASSERT_EQ(refused.refused_runs.size(), 1U);
    EXPECT_EQ(refused.earlier_cuts, 4);
    EXPECT_EQ(refused.earlier_cuts_recut, 0);
    EXPECT_EQ(refused.corners_left, 4);
    const double largest = *refused.refused_runs[0].largest_size;
    EXPECT_NEAR(largest, *FilletPolyline(sharp, Closed(20.0, style)).refused_runs[0].largest_size,
                1e-9);
    EXPECT_TRUE(RecutPolyline(r5.vertices, Closed(largest, style), cuts).refused_runs.empty());
  }
}

// With a selection, only the selected corners' cuts are re-cut; the others
// keep theirs.
TEST(RecutPolyline, SelectedCornersOnly) {
  // An L, counter-clockwise: five convex corners and one concave.
  const std::vector<BulgeVertex> ell =
      Straight({{0, 0}, {100, 0}, {100, 40}, {40, 40}, {40, 100}, {0, 100}});
  const PolylineResult convex5 =
      FilletPolyline(ell, Closed(5.0, CornerStyle::kRadiusArc, CornerSelection::kConvex));
  const PolylineResult both = RecutPolyline(
      convex5.vertices, Closed(2.0, CornerStyle::kRadiusArc, CornerSelection::kConcave), {});
  EXPECT_EQ(both.earlier_cuts, 0);  // the concave corner was sharp
  EXPECT_EQ(both.corners_filleted, 1);
  const PolylineResult convex3 = RecutPolyline(
      both.vertices, Closed(3.0, CornerStyle::kRadiusArc, CornerSelection::kConvex), {});
  EXPECT_EQ(convex3.earlier_cuts, 5);
  ExpectNear(convex3.vertices,
             FilletPolyline(FilletPolyline(ell, Closed(3.0, CornerStyle::kRadiusArc,
                                                       CornerSelection::kConvex))
                                .vertices,
                            Closed(2.0, CornerStyle::kRadiusArc, CornerSelection::kConcave))
                 .vertices,
             1e-9);
  // The concave R2 arc is the caller's vertex, bit for bit.
  int kept_arcs = 0;
  for (size_t k = 0; k < convex3.sources.size(); ++k) {
    kept_arcs += convex3.sources[k] >= 0 && convex3.vertices[k].bulge != 0.0;
  }
  EXPECT_EQ(kept_arcs, 1);
}

// Open polylines, short ones, and values that are no numbers.
TEST(RecutPolyline, Edges) {
  const double quarter = std::tan(kPi / 8);
  // An open polyline's first piece has nothing before it.
  const std::vector<BulgeVertex> open = {{{0, 0}, quarter}, {{10, 10}}, {{10, 50}}, {{0, 60}}};
  EXPECT_EQ(RecutPolyline(open, {2.0, Closing::kOpen}, {}).earlier_cuts, 0);
  for (const auto& v : std::vector<std::vector<BulgeVertex>>{
           {}, {{{1, 1}}}, {{{0, 0}}, {{1, 0}, quarter}}}) {
    EXPECT_EQ(RecutPolyline(v, Closed(1.0, CornerStyle::kChordArc), {}).vertices.size(),
              FilletPolyline(v, Closed(1.0, CornerStyle::kChordArc)).vertices.size());
  }
  // A closed polyline that repeats its first vertex twice at its end keeps
  // one of them, as FilletPolyline keeps it: a side of no length, refused.
  const std::vector<BulgeVertex> twice = {
      {{0, 0}}, {{10, 0}, 0.5}, {{10, 10}}, {{0, 10}}, {{0, 0}}, {{0, 0}}};
  const PolylineResult recut = RecutPolyline(twice, Closed(1.0, CornerStyle::kRadiusArc), {});
  const PolylineResult plain = FilletPolyline(twice, Closed(1.0, CornerStyle::kRadiusArc));
  ExpectNear(recut.vertices, plain.vertices, 0.0);
  EXPECT_EQ(recut.refused_runs.size(), plain.refused_runs.size());
  EXPECT_EQ(recut.corners_filleted, plain.corners_filleted);
  const std::vector<BulgeVertex> rounded = FilletPolyline(
      Straight({{0, 0}, {60, 0}, {60, 30}, {0, 30}}), Closed(5.0, CornerStyle::kRadiusArc)).vertices;
  EarlierCuts none;
  none.tangent_tolerance = std::nan("");
  EXPECT_EQ(RecutPolyline(rounded, Closed(1.0, CornerStyle::kRadiusArc), none).earlier_cuts, 0);
  none.tangent_tolerance = -1.0;
  EXPECT_EQ(RecutPolyline(rounded, Closed(1.0, CornerStyle::kRadiusArc), none).earlier_cuts, 0);
  std::vector<BulgeVertex> huge = rounded;
  for (BulgeVertex& v : huge) v.point = {v.point.x * 1e300, v.point.y * 1e300};
  EXPECT_EQ(RecutPolyline(huge, Closed(1.0, CornerStyle::kRadiusArc), {}).earlier_cuts, 0);
}

}  // namespace
