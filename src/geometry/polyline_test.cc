#include "rrensen/polyline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "geometry/test_geometry.h"

namespace {

using namespace test_geometry;  // NOLINT(google-build-using-namespace)

using rrensen::BulgeVertex;
using rrensen::Closing;
using rrensen::FilletPolyline;
using rrensen::Point;
using rrensen::PolylineResult;
using rrensen::Refusal;

/// tan(90 degrees / 4): a quarter circle.
const double kQuarter = std::tan(kPi / 8);

bool SameVertex(const BulgeVertex& a, const BulgeVertex& b) {
  return SameBits(a.point.x, b.point.x) && SameBits(a.point.y, b.point.y) &&
         SameBits(a.bulge, b.bulge);
}

/// Each arc of `in` (a piece with a bulge, and where it ends) appears in
/// `out` with the same ends and bulge bit for bit, in the same order round a
/// closed polyline.
void ExpectArcsKept(const std::vector<BulgeVertex>& in, bool in_closed,
                    const PolylineResult& r) {
  const size_t n = in.size();
  const size_t m = r.vertices.size();
  for (size_t i = 0; i < n; ++i) {
    if (in[i].bulge == 0.0 || (!in_closed && i + 1 == n)) continue;
    const Point& end = in[(i + 1) % n].point;
    bool found = false;
    for (size_t k = 0; k < m && !found; ++k) {
      if (!r.closed && k + 1 == m) break;
      found = SameVertex(r.vertices[k], in[i]) &&
              Dist(r.vertices[(k + 1) % m].point, end) == 0.0;
    }
    EXPECT_TRUE(found) << "arc from vertex " << i << " lost";
  }
}

/// Every new vertex that starts an arc (a cut) is followed by one `size`
/// away: the two tangent points of a corner.
void ExpectCutsSizeWide(const PolylineResult& r, double size) {
  const size_t m = r.vertices.size();
  for (size_t k = 0; k < m; ++k) {
    if (r.sources[k] >= 0 || r.vertices[k].bulge == 0.0) continue;
    EXPECT_NEAR(Dist(r.vertices[k].point, r.vertices[(k + 1) % m].point), size,
                1e-9)
        << "cut at new vertex " << k;
  }
}

// An open plate edge: two straight runs with an arc between them.
//   0 (0,0) - 1 (100,0) - 2 (100,50) ~arc~ 3 (50,100) - 4 (0,100) - 5 (0,50)
const std::vector<BulgeVertex> kOpenPlate = {
    {{0, 0}}, {{100, 0}}, {{100, 50}, kQuarter}, {{50, 100}}, {{0, 100}},
    {{0, 50}}};

const std::vector<BulgeVertex> kSquare = {{{0, 0}}, {{100, 0}}, {{100, 100}}, {{0, 100}}};
// Its ends 3 apart.
const std::vector<BulgeVertex> kNearlyClosed = {
    {{0, 0}}, {{100, 0}}, {{100, 100}}, {{0, 100}}, {{0, 3}}};

/// The plate from its arc on: a closed one starts at the arc's vertex.
std::vector<BulgeVertex> ArcFirst() {
  std::vector<BulgeVertex> v(kOpenPlate.begin() + 2, kOpenPlate.end());
  v.insert(v.end(), kOpenPlate.begin(), kOpenPlate.begin() + 2);
  return v;
}

TEST(FilletPolyline, RunsBetweenArcsAreFilletedAndTheArcsKept) {
  // sources: the caller's index of each vertex written, -1 for a cut's.
  struct {
    const char* name;
    std::vector<BulgeVertex> vertices;
    Closing closing;
    double size;
    bool closed;
    int filleted;
    int left;
    std::vector<int> sources;
  } cases[] = {
      // Runs 0-1-2 (corner 1) and 3-4-5 (corner 4): each corner becomes two
      // vertices; the arc's and the runs' ends are kept.
      {"open, two runs", kOpenPlate, Closing::kOpen, 5, false, 2, 0, {0, -1, -1, 2, 3, -1, -1, 5}},
      // Closed: the run 3-4-5-0-1-2 wraps round vertex 0, corners 4, 5, 0,
      // 1; the result starts with the cut at vertex 0.
      {"closed, one wrapping run", kOpenPlate, Closing::kClosed, 5, true, 4, 0,
       {-1, -1, -1, -1, 2, 3, -1, -1, -1, -1}},
      // With the arc first, it starts at the arc's vertex itself.
      {"closed, arc first", ArcFirst(), Closing::kClosed, 5, true, 4, 0,
       {0, 1, -1, -1, -1, -1, -1, -1, -1, -1}},
      // A lone straight piece between two arcs is no run.
      {"lone piece", {{{0, 0}, 1.0}, {{10, 0}}, {{20, 0}, 1.0}, {{30, 0}}},
       Closing::kOpen, 1, false, 0, 0, {0, 1, 2, 3}},
      {"arcs only, closed", {{{0, 0}, 1.0}, {{10, 0}, 1.0}}, Closing::kClosed, 1, true, 0, 0,
       {0, 1}},
      // No arc: one closed outline, its first corner cut too, and first.
      {"closed square", kSquare, Closing::kClosed, 5, true, 4, 0, std::vector<int>(8, -1)},
      {"closed square given twice its first vertex",
       {{{0, 0}}, {{100, 0}}, {{100, 100}}, {{0, 100}}, {{0, 0}}},
       Closing::kClosed, 5, true, 4, 0, std::vector<int>(8, -1)},
      // The host's rule: ends 3 apart close at size 5 (3 < 10), not at 1.
      {"near ends, size 5", kNearlyClosed, Closing::kByProximity, 5, true, 4, 0,
       std::vector<int>(8, -1)},
      {"near ends, size 1", kNearlyClosed, Closing::kByProximity, 1, false, 3, 0,
       {0, -1, -1, -1, -1, -1, -1, 4}},
      {"near ends, kOpen", kNearlyClosed, Closing::kOpen, 5, false, 3, 0,
       {0, -1, -1, -1, -1, -1, -1, 4}},
      // The run 3-4-5 ends with a side of 3, too short for size 5 (it needs
      // 10); the run 0-1-2 before the arc is filleted all the same.
      {"one run refused",
       {{{0, 0}}, {{100, 0}}, {{100, 50}, 0.5}, {{100, 60}}, {{50, 60}}, {{50, 63}}},
       Closing::kOpen, 5, false, 1, 1, {0, -1, -1, 2, 3, 4, 5}},
      {"no vertex", {}, Closing::kClosed, 5, true, 0, 0, {}},
      {"one vertex", {{{3, 4}}}, Closing::kOpen, 5, false, 0, 0, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolylineResult r = FilletPolyline(c.vertices, {c.size, c.closing});
    EXPECT_EQ(r.closed, c.closed);
    EXPECT_EQ(r.corners_filleted, c.filleted);
    EXPECT_EQ(r.corners_left, c.left);
    EXPECT_EQ(r.sources, c.sources);
    ASSERT_EQ(r.sources.size(), r.vertices.size());
    ExpectArcsKept(c.vertices, c.closed, r);
    ExpectCutsSizeWide(r, c.size);
    for (size_t k = 0; k < r.vertices.size(); ++k) {
      if (r.sources[k] < 0) continue;
      EXPECT_TRUE(SameVertex(r.vertices[k],
                             c.vertices[static_cast<size_t>(r.sources[k])]))
          << "vertex " << k << " is not the caller's " << r.sources[k];
    }
  }
}

TEST(FilletPolyline, ACutJoinsTheTangentPointsOnItsCornersSides) {
  // A right angle at size 5: tangent points 5 / sqrt 2 back along each
  // side, joined by a quarter arc that turns left, then a straight side.
  // Open, the plate's first cut is at vertex 1; closed, with arcs or not,
  // the result starts with the cut at (0, 0).
  const double back = 5.0 / std::sqrt(2.0);
  const struct {
    std::vector<BulgeVertex> vertices;
    Closing closing;
    size_t k;  // where the cut starts in the result
    Point in, out;
  } cases[] = {
      {kOpenPlate, Closing::kOpen, 1, {100 - back, 0}, {100, back}},
      {kOpenPlate, Closing::kClosed, 0, {0, back}, {back, 0}},
      {kSquare, Closing::kClosed, 0, {0, back}, {back, 0}},
  };
  for (const auto& c : cases) {
    const PolylineResult r = FilletPolyline(c.vertices, {5.0, c.closing});
    ASSERT_GT(r.vertices.size(), c.k + 1);
    EXPECT_NEAR(Dist(r.vertices[c.k].point, c.in), 0, 1e-12) << c.k;
    EXPECT_NEAR(Dist(r.vertices[c.k + 1].point, c.out), 0, 1e-12) << c.k;
    EXPECT_NEAR(r.vertices[c.k].bulge, kQuarter, 1e-15);
    EXPECT_EQ(r.vertices[c.k + 1].bulge, 0.0);
  }
}

TEST(FilletPolyline, RefusedRunsAreLeftBitForBitWithTheCallersIndices) {
  // A closed outline with two arcs (from vertex 1 to 3) and one straight
  // run 3-4-0-1 that wraps round vertex 0; its side from vertex 4 to vertex
  // 0 is 2 long, too short for size 5.
  const std::vector<BulgeVertex> v = {
      {{0.25, 0.5}},          // 0
      {{100.7, 0}, 0.25},     // 1: arc to 2
      {{100, 60.3}, -0.125},  // 2: arc to 3
      {{50.05, 80}},          // 3
      {{0.25, 2.5}},          // 4
  };
  PolylineResult r = FilletPolyline(v, {5.0, Closing::kClosed});
  ASSERT_EQ(r.refused_runs.size(), 1u);
  const rrensen::RefusedRun& run = r.refused_runs[0];
  EXPECT_EQ(run.first_vertex, 3);
  EXPECT_EQ(run.last_vertex, 1);  // wraps: 3, 4, 0, 1
  EXPECT_EQ(run.problem.kind, Refusal::kShortSide);
  EXPECT_EQ(run.problem.point, 4);
  EXPECT_EQ(run.problem.next_point, 0);
  EXPECT_DOUBLE_EQ(run.problem.needed, 10.0);
  EXPECT_DOUBLE_EQ(run.problem.found, 2.0);
  ASSERT_TRUE(run.largest_size.has_value());
  EXPECT_DOUBLE_EQ(*run.largest_size, 1.0);  // half the short side
  EXPECT_EQ(r.corners_left, 2);
  EXPECT_EQ(r.corners_filleted, 0);
  ASSERT_EQ(r.vertices.size(), v.size());
  for (size_t k = 0; k < v.size(); ++k) {
    EXPECT_EQ(r.sources[k], static_cast<int>(k));
    EXPECT_TRUE(SameVertex(r.vertices[k], v[k])) << k;
  }

  // The same outline at a size that fits: both corners cut.
  PolylineResult fits = FilletPolyline(v, {1.0, Closing::kClosed});
  EXPECT_TRUE(fits.refused_runs.empty());
  EXPECT_EQ(fits.corners_filleted, 2);
  ExpectArcsKept(v, true, fits);
}

TEST(FilletPolyline, SizeZeroKeepsEveryVertexAndWritesRepeatsOnce) {
  const std::vector<BulgeVertex> v = {
      {{0, 0}}, {{100, 0}}, {{100, 0}}, {{100, 100}, 0.5}, {{0, 100}}, {{0, 50}}};
  for (Closing closing : {Closing::kOpen, Closing::kClosed}) {
    PolylineResult r = FilletPolyline(v, {0.0, closing});
    EXPECT_TRUE(r.refused_runs.empty());
    // Vertex 2 repeats vertex 1 and goes; everything else is the caller's.
    ASSERT_EQ(r.vertices.size(), 5u);
    const std::vector<int> sources = {0, 2, 3, 4, 5};
    EXPECT_EQ(r.sources, sources);
    for (size_t k = 0; k < r.vertices.size(); ++k) {
      EXPECT_TRUE(SameVertex(r.vertices[k], v[static_cast<size_t>(r.sources[k])]));
    }
  }
}

TEST(FilletPolyline, InvalidSizesRefuseEveryRunAndChangeNothing) {
  for (double size : {-1.0, std::nan(""), HUGE_VAL}) {
    PolylineResult r = FilletPolyline(kOpenPlate, {size, Closing::kOpen});
    ASSERT_EQ(r.refused_runs.size(), 2u);
    EXPECT_EQ(r.refused_runs[0].problem.kind, Refusal::kInvalidSize);
    EXPECT_EQ(r.corners_left, 2);
    ASSERT_EQ(r.vertices.size(), kOpenPlate.size());
    for (size_t k = 0; k < r.vertices.size(); ++k) {
      EXPECT_TRUE(SameVertex(r.vertices[k], kOpenPlate[k]));
    }
  }
}

TEST(FilletPolyline, EveryStyleAtTheLargestSizeAndOneDoubleEitherSide) {
  // Property: a run filleted at its reported largest size (which uses up
  // the side that limits it exactly) or one double below is filleted, one
  // double above (a thousandth for chord arcs, whose sizes are whole
  // thousandths) or 1.0001 times it is refused, size 0 is filleted. Whatever
  // the shape and the size, every arc is kept bit for bit, every kept vertex
  // is the caller's, every corner is counted once, filleted or left, no
  // straight piece has zero length, and a chord arc's cut is `size` wide.
  // Open runs whose first or last side is the short one are where a used-up
  // side once broke the mapping of cuts to corners; the sanitizers watch
  // that.
  using rrensen::CornerStyle;
  std::mt19937 random(11);
  std::uniform_real_distribution<double> coordinate(-200, 200);
  std::uniform_int_distribution<int> count(2, 8);
  std::uniform_int_distribution<int> arc_chance(0, 3);
  for (int trial = 0; trial < 600; ++trial) {
    std::vector<BulgeVertex> v(static_cast<size_t>(count(random)));
    for (BulgeVertex& vertex : v) {
      vertex.point = {coordinate(random), coordinate(random)};
      if (trial % 3 == 0 && arc_chance(random) == 0) {
        vertex.bulge = trial % 2 == 0 ? 0.4 : coordinate(random) / 300;
      }
    }
    const Closing closing = trial % 4 == 1 ? Closing::kClosed : Closing::kOpen;
    const auto style = static_cast<CornerStyle>(trial % 4);
    const bool exact = style != CornerStyle::kChordArc;
    SCOPED_TRACE(::testing::Message() << "trial " << trial << ", style "
                                      << rrensen::CornerStyleName(style));
    const size_t n = v.size();
    int corners = 0;  // vertices between two straight pieces
    for (size_t i = 0; i < n; ++i) {
      if (closing == Closing::kOpen && (i == 0 || i + 1 == n)) continue;
      corners += v[(i + n - 1) % n].bulge == 0.0 && v[i].bulge == 0.0 ? 1 : 0;
    }
    auto check = [&](double size) {
      PolylineResult r = FilletPolyline(v, {size, closing, style});
      ExpectArcsKept(v, closing == Closing::kClosed, r);
      if (!exact) ExpectCutsSizeWide(r, size);
      EXPECT_EQ(r.corners_filleted + r.corners_left, corners);
      for (size_t k = 0; k < r.vertices.size(); ++k) {
        if (r.sources[k] < 0) continue;
        EXPECT_TRUE(SameVertex(r.vertices[k], v[static_cast<size_t>(r.sources[k])]));
      }
      const size_t m = r.vertices.size();
      for (size_t k = 0; k + (r.closed ? 0 : 1) < m; ++k) {
        if (r.vertices[k].bulge != 0.0) continue;
        EXPECT_GT(Dist(r.vertices[k].point, r.vertices[(k + 1) % m].point), 0.0)
            << "empty piece at " << k << ", size " << size;
      }
      return r;
    };
    auto refused = [](const PolylineResult& r, int first) {
      for (const rrensen::RefusedRun& run : r.refused_runs) {
        if (run.first_vertex == first) return true;
      }
      return false;
    };
    const PolylineResult every = check(1e9);
    check(0.0);
    check(1 + trial % 40);
    for (const rrensen::RefusedRun& run : every.refused_runs) {
      if (!run.largest_size) continue;
      const double largest = *run.largest_size;
      SCOPED_TRACE(::testing::Message() << "largest " << largest);
      EXPECT_FALSE(refused(check(largest), run.first_vertex));
      EXPECT_FALSE(refused(check(std::nextafter(largest, 0.0)), run.first_vertex));
      if (exact) {
        EXPECT_TRUE(refused(check(largest * 1.0001), run.first_vertex));
      }
      EXPECT_TRUE(refused(check(exact ? std::nextafter(largest, HUGE_VAL)
                                      : largest + 0.001),
                          run.first_vertex));
    }
  }
}

TEST(FilletPolyline, ACutThatUsesUpTheFirstSideStartsAtTheFirstVertex) {
  // At its largest size a right angle's arc (or chamfer) takes both sides
  // whole: the polyline is the cut alone, from the first vertex, which is
  // then a new vertex with the arc's bulge, to the last.
  using rrensen::CornerStyle;
  const std::vector<BulgeVertex> corner = {{{0, 0}, 0}, {{10, 0}, 0}, {{10, 10}, 0}};
  for (CornerStyle style : {CornerStyle::kRadiusArc, CornerStyle::kDistanceChamfer}) {
    const rrensen::FilletOptions too_large{1e9, Closing::kOpen, style};
    const std::optional<double> largest =
        FilletPolyline(corner, too_large).refused_runs.at(0).largest_size;
    ASSERT_TRUE(largest.has_value());
    const PolylineResult r = FilletPolyline(corner, {*largest, Closing::kOpen, style});
    ASSERT_EQ(r.vertices.size(), 2u) << rrensen::CornerStyleName(style);
    EXPECT_EQ(r.sources, (std::vector<int>{-1, 2}));
    EXPECT_EQ(r.vertices[0].point.x, 0.0);
    EXPECT_EQ(r.vertices[0].point.y, 0.0);
    EXPECT_NEAR(r.vertices[0].bulge, style == CornerStyle::kRadiusArc ? kQuarter : 0.0,
                1e-12);
  }
}

TEST(FilletPolyline, CutsOnSidesAlongTheAxesKeepTheirCoordinateExactly) {
  // Cut ends are measured along each side from the corner point: on a side
  // at y = 250 they lie at y = 250, not at 250.00000000000003.
  const std::vector<BulgeVertex> plate = {
      {{0, 0}}, {{300.5, 0}}, {{300.5, 250}}, {{0.1, 250}}, {{0.1, 120}, 0.5}, {{0, 100}}};
  for (int style = 0; style < 4; ++style) {
    for (double size : {5.0, 7.3}) {
      const PolylineResult r = FilletPolyline(
          plate, {size, Closing::kClosed, static_cast<rrensen::CornerStyle>(style)});
      ASSERT_TRUE(r.refused_runs.empty());
      for (const BulgeVertex& v : r.vertices) {
        for (double line : {0.0, 250.0}) {
          if (std::fabs(v.point.y - line) < 1e-6) {
            EXPECT_EQ(v.point.y, line) << style;
          }
        }
        for (double line : {0.1, 300.5}) {
          if (std::fabs(v.point.x - line) < 1e-6) {
            EXPECT_EQ(v.point.x, line) << style;
          }
        }
      }
    }
  }
}

}  // namespace
