#include "rrensen/fillet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using rrensen::Corner;
using rrensen::FilletOutline;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Refusal;
using rrensen::Segment;

const double kPi = 3.141592653589793;
const double kInf = std::numeric_limits<double>::infinity();

double Dist(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

/// Twice the signed area of o, u, w: positive when w lies left of o -> u.
double Cross(Point o, Point u, Point w) {
  return (u.x - o.x) * (w.y - o.y) - (u.y - o.y) * (w.x - o.x);
}

TEST(FilletOutline, WorkedCasesAndRefusals) {
  struct {
    const char* name;
    std::vector<Point> points;
    double size;
    int result;
    Refusal kind;
    int point;        // the problem's point, when refused
    size_t segments;  // when drawn
  } cases[] = {
      {"open by a hair", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 10}}, 5, 0, Refusal::kNone, -1, 7},
      {"closed by a hair", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 9.99}}, 5, 0, Refusal::kNone, -1, 8},
      {"first side not tested", {{0, 0}, {8, 0}, {8, 100}}, 5, 0, Refusal::kNone, -1, 3},
      {"last side too short", {{0, 0}, {100, 0}, {100, 8}}, 5, 1, Refusal::kShortSide, 1, 0},
      {"too sharp for its side", {{0, 0}, {5, 0}, {5, 100}}, 5, 2, Refusal::kSharpCorner, 1, 0},
      {"two near points close onto themselves", {{0, 0}, {5, 0}}, 5, 1, Refusal::kShortSide, 0, 0},
      {"two points: one line", {{0, 0}, {50, 0}}, 5, 0, Refusal::kNone, -1, 1},
      {"one point", {{3, 4}}, 5, 1, Refusal::kNoCorner, -1, 0},
      {"no point", {}, 5, 1, Refusal::kNoCorner, -1, 0},
      {"reversal", {{0, 100}, {0, 0}, {0, 100}}, 5, 2, Refusal::kSharpCorner, 1, 0},
      {"reversal, size 0", {{0, 100}, {0, 0}, {0, 100}}, 0, 3, Refusal::kReversal, 1, 0},
      {"size 0: radius 0 at the corner", {{0, 0}, {100, 0}, {100, 100}}, 0, 0, Refusal::kNone, -1, 3},
      {"inf point", {{0, 0}, {kInf, 0}, {100, 100}}, 5, 1, Refusal::kNotFinite, 1, 0},
      {"nan point", {{0, 0}, {100, 0}, {std::nan(""), 100}}, 5, 1, Refusal::kNotFinite, 2, 0},
      {"differences overflow", {{-1e308, 0}, {1e308, 0}, {1e308, 1e308}}, 5, 1, Refusal::kCornerNotFinite, 1, 0},
      {"closed: the side from point 1 is tested last", {{0, 0}, {6, 0}, {100, 100}, {0, 1}}, 5, 1, Refusal::kShortSide, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Outline o = FilletOutline(c.points, c.size);
    SCOPED_TRACE(o.result);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.problem.kind, c.kind);
    EXPECT_EQ(o.segments.size(), c.segments);
    if (c.result != 0) {
      EXPECT_EQ(o.problem.point, c.point);
    }
  }
}

TEST(FilletOutline, RightAngleAsTheToolWritesIt) {
  Outline o = FilletOutline({{0, 0}, {100, 0}, {100, 100}}, 5.0);
  ASSERT_EQ(o.result, rrensen::kDrawn);
  ASSERT_EQ(o.segments.size(), 3u);
  const Corner& c = o.corners.at(0);
  EXPECT_EQ(c.point, 1);
  EXPECT_TRUE(c.is_arc);
  EXPECT_NEAR(c.cut_back, 3.535533905933, 1e-12);
  EXPECT_NEAR(c.radius, 3.535533905933, 1e-12);
  EXPECT_NEAR(c.tilt, -45.0, 1e-12);
  EXPECT_NEAR(c.half_sweep, 45.0, 1e-12);
  const Segment& arc = o.segments[1];
  EXPECT_TRUE(arc.is_arc);
  EXPECT_EQ(arc.corner, 0);
  EXPECT_NEAR(arc.start.x, 96.464466094067, 1e-12);
  EXPECT_NEAR(arc.end.y, 3.535533905933, 1e-12);
}

TEST(FilletOutline, RefusalsSayWhatWasNeededAndFound) {
  Outline side = FilletOutline({{0, 0}, {100, 0}, {100, 8}}, 5.0);
  EXPECT_EQ(side.problem.point, 1);
  EXPECT_EQ(side.problem.next_point, 2);
  EXPECT_EQ(side.problem.needed, 10.0);
  EXPECT_EQ(side.problem.found, 8.0);
  // In a closed outline the last two working points are the first and the
  // second again: the side between them is named by the caller's indices.
  Outline closed = FilletOutline({{0, 0}, {6, 0}, {100, 100}, {0, 1}}, 5.0);
  EXPECT_TRUE(closed.closed);
  EXPECT_EQ(closed.problem.point, 0);
  EXPECT_EQ(closed.problem.next_point, 1);
  EXPECT_EQ(closed.problem.found, 6.0);
  Outline sharp = FilletOutline({{0, 0}, {5, 0}, {5, 100}}, 5.0);
  EXPECT_EQ(sharp.problem.found, 5.0);
  EXPECT_NEAR(sharp.problem.needed, 1.5 * 5.0 / 2 / std::cos(kPi / 4), 1e-12);
}

TEST(FilletOutline, LargestSizeDrawsAndTheNextThousandthDoesNot) {
  struct {
    std::vector<Point> points;
    double expected;  // -1 for none
  } cases[] = {
      {{{0, 0}, {100, 0}, {100, 8}}, 4.0},           // side 8 holds 2 x 4
      {{{0, 0}, {100, 0}, {100, 100}}, 19.999},      // everything fits
      {{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 8}}, 19.999},  // closes
      {{{0, 0}, {0, 0}, {0, 0}}, 0.0},  // coincident points: only size 0
      {{}, -1},
  };
  for (const auto& c : cases) {
    std::optional<double> size = rrensen::LargestFilletSize(c.points);
    if (c.expected < 0) {
      EXPECT_FALSE(size.has_value());
      continue;
    }
    ASSERT_TRUE(size.has_value());
    EXPECT_NEAR(*size, c.expected, 1e-9);
    EXPECT_EQ(FilletOutline(c.points, *size).result, rrensen::kDrawn);
    if (*size < 19.999) {
      EXPECT_NE(FilletOutline(c.points, *size + 0.001).result, rrensen::kDrawn);
    }
  }
}

/// Checks the geometric promises of one drawn outline.
void CheckOutline(const Outline& o, const std::vector<Point>& points,
                  double size) {
  const double tol = 1e-7;
  size_t n = points.size();
  size_t corners = o.closed ? n - 1 : n - 2;
  ASSERT_EQ(o.corners.size(), corners);
  ASSERT_EQ(o.segments.size(), o.closed ? 2 * corners : 2 * n - 3);

  // Continuity: each piece starts where the one before ended, and an open
  // outline runs from the first point to the last.
  Point at = o.closed ? o.segments.front().start : points.front();
  for (const Segment& s : o.segments) {
    ASSERT_LT(Dist(at, s.start), tol);
    if (s.is_arc) {
      EXPECT_NEAR(Dist(s.centre, s.start), s.radius, tol);
      EXPECT_NEAR(Dist(s.centre, s.end), s.radius, tol);
    }
    at = s.end;
  }
  EXPECT_LT(Dist(at, o.closed ? o.segments.front().start : points.back()), tol);

  // Every corner: tangent points `size` apart and on their sides; an arc is
  // tangent to both sides with its centre on the inner side; a chord corner
  // turns by at most 10 degrees.
  const std::vector<Point>& w = o.working_points;
  for (size_t k = 0; k < o.corners.size(); ++k) {
    const Corner& c = o.corners[k];
    Point a = w[k], p = w[k + 1], q = w[k + 2];
    EXPECT_NEAR(Dist(c.tangent_in, c.tangent_out), size, tol);
    EXPECT_NEAR(Cross(a, p, c.tangent_in) / Dist(a, p), 0, tol);
    EXPECT_NEAR(Cross(p, q, c.tangent_out) / Dist(p, q), 0, tol);
    double turn = std::atan2(Cross(a, p, q), (p.x - a.x) * (q.x - p.x) +
                                                 (p.y - a.y) * (q.y - p.y));
    if (c.is_arc) {
      EXPECT_NEAR(std::fabs(Cross(a, p, c.centre)) / Dist(a, p), c.radius, tol);
      EXPECT_NEAR(std::fabs(Cross(p, q, c.centre)) / Dist(p, q), c.radius, tol);
      EXPECT_GT(Cross(a, p, c.centre) * turn, 0);  // the inner side
      EXPECT_GT(std::fabs(turn), 10 * kPi / 180 - 1e-12);
    } else {
      EXPECT_LE(std::fabs(turn), 10 * kPi / 180 + 1e-12);
    }
  }
}

TEST(FilletOutline, PropertiesOfGeneratedOutlines) {
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int drawn_open = 0, drawn_closed = 0, refused = 0;
  for (int trial = 0; trial < 600; ++trial) {
    bool ring = trial % 2 == 1;
    double size = 0.5 + 15 * unit(rng);
    int n = 3 + static_cast<int>(unit(rng) * (ring ? 15 : 40));
    std::vector<Point> pts;
    if (ring) {
      // A star-shaped ring around the origin, closed onto its first point.
      for (int k = 0; k < n - 1; ++k) {
        double a = 2 * kPi * (k + 0.8 * unit(rng)) / (n - 1);
        double r = 200 + 300 * unit(rng);
        pts.push_back({r * std::cos(a), r * std::sin(a)});
      }
      pts.push_back(pts[0]);
    } else {
      // A walk whose turns are mostly arcs, some flat enough for chords.
      double dir = 2 * kPi * unit(rng);
      Point at{1000 * unit(rng) - 500, 1000 * unit(rng) - 500};
      pts.push_back(at);
      for (int k = 1; k < n; ++k) {
        double turn = unit(rng) < 0.3 ? (unit(rng) - 0.5) * 20 * kPi / 180
                                      : (unit(rng) - 0.5) * 300 * kPi / 180;
        if (k > 1) dir += turn;
        double len = 20 + 400 * unit(rng);
        at = {at.x + len * std::cos(dir), at.y + len * std::sin(dir)};
        pts.push_back(at);
      }
    }
    SCOPED_TRACE(trial);
    Outline o = FilletOutline(pts, size);
    EXPECT_EQ(o.closed, Dist(pts.front(), pts.back()) < 2 * size);
    if (o.result != rrensen::kDrawn) {
      ++refused;
      EXPECT_TRUE(o.segments.empty()) << "all or nothing";
      EXPECT_NE(o.problem.kind, Refusal::kNone);
      continue;
    }
    CheckOutline(o, pts, size);
    (o.closed ? drawn_closed : drawn_open) += 1;
  }
  EXPECT_GT(drawn_open, 100);
  EXPECT_GT(drawn_closed, 100);
  EXPECT_GT(refused, 10);
}

}  // namespace
