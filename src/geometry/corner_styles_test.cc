#include "geometry/corner_styles.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "geometry/test_geometry.h"
#include "rrensen/fillet.h"

namespace {

using namespace test_geometry;  // NOLINT(google-build-using-namespace)

using rrensen::Closing;
using rrensen::Corner;
using rrensen::CornerStyle;
using rrensen::Fillet;
using rrensen::LargestFilletSize;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Refusal;
using rrensen::Result;
using rrensen::Segment;

const Closing kClosings[] = {Closing::kByProximity, Closing::kOpen,
                             Closing::kClosed};

/// Where p lies along a -> b, as a fraction of its length.
double Along(Point a, Point b, Point p) {
  double l2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
  return ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / l2;
}

/// Each style's cut-back per unit size, from its definition.
double PerUnit(CornerStyle style, double turn) {
  switch (style) {
    case CornerStyle::kRadiusArc: return std::tan(std::fabs(turn) / 2);
    case CornerStyle::kDistanceChamfer: return 1.0;
    case CornerStyle::kChordChamfer:
    case CornerStyle::kChordArc: return 0.5 / std::cos(turn / 2);
    case CornerStyle::kDogbone:
    case CornerStyle::kTBone: break;  // relief_test.cc
  }
  return 0.0;
}

Outline Styled(const std::vector<Point>& points, double size,
               CornerStyle style, Closing closing = Closing::kOpen) {
  return Fillet(points, {size, closing, style});
}

TEST(CornerStyles, RefusalsAndEdgeCases) {
  const double nan = std::nan("");
  struct {
    const char* name;
    std::vector<Point> points;
    double size;
    CornerStyle style;
    Closing closing;
    Result result;
    Refusal kind;
    int point, next_point;  // the problem's, when refused
    size_t corners, segments;  // when drawn
  } cases[] = {
      {"radius arcs: a side of 8 does not hold two cuts of 5",
       {{0, 0}, {100, 0}, {100, 8}, {0, 8}}, 5, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kTooClose, Refusal::kShortSide, 1, 2, 0, 0},
      {"distance chamfer: the first side is tested too",
       {{0, 0}, {4, 0}, {4, 100}}, 5, CornerStyle::kDistanceChamfer, Closing::kOpen,
       Result::kTooClose, Refusal::kShortSide, 0, 1, 0, 0},
      {"side used up exactly: no line between the cuts",
       {{0, 0}, {100, 0}, {100, 10}, {0, 10}}, 5, CornerStyle::kDistanceChamfer, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 2, 4},
      {"first side used up: the cut starts on the first point",
       {{0, 0}, {5, 0}, {5, 100}}, 5, CornerStyle::kDistanceChamfer, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 2},
      {"closed square, every side used up: cuts only",
       {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 5, CornerStyle::kDistanceChamfer, Closing::kClosed,
       Result::kDrawn, Refusal::kNone, -1, -1, 4, 4},
      {"reversal", {{0, 0}, {100, 0}, {50, 0}}, 1, CornerStyle::kDistanceChamfer, Closing::kOpen,
       Result::kReversal, Refusal::kReversal, 1, -1, 0, 0},
      {"reversal at size 0", {{0, 0}, {100, 0}, {50, 0}}, 0, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kReversal, Refusal::kReversal, 1, -1, 0, 0},
      {"reversal within the tolerance", {{0, 0}, {100, 0}, {0, 1e-8}}, 1, CornerStyle::kChordChamfer, Closing::kOpen,
       Result::kReversal, Refusal::kReversal, 1, -1, 0, 0},
      {"just outside the reversal tolerance", {{0, 0}, {100, 0}, {0, 1e-6}}, 1, CornerStyle::kDistanceChamfer, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 3},
      {"coincident points", {{0, 0}, {100, 0}, {100, 0}, {100, 100}}, 1, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kTooClose, Refusal::kCoincidentPoints, 1, 2, 0, 0},
      {"coincident points at size 0", {{0, 0}, {0, 0}, {100, 0}}, 0, CornerStyle::kChordChamfer, Closing::kOpen,
       Result::kTooClose, Refusal::kCoincidentPoints, 0, 1, 0, 0},
      {"two coincident points open: one line", {{3, 4}, {3, 4}}, 1, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 0, 1},
      {"two points open: one line", {{0, 0}, {50, 0}}, 5, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 0, 1},
      {"two points closed: two reversals", {{0, 0}, {50, 0}}, 5, CornerStyle::kRadiusArc, Closing::kClosed,
       Result::kReversal, Refusal::kReversal, 1, -1, 0, 0},
      {"two near points close onto one", {{0, 0}, {5, 0}}, 5, CornerStyle::kDistanceChamfer, Closing::kByProximity,
       Result::kTooClose, Refusal::kNoCorner, -1, -1, 0, 0},
      {"one point", {{3, 4}}, 5, CornerStyle::kChordChamfer, Closing::kOpen,
       Result::kTooClose, Refusal::kNoCorner, -1, -1, 0, 0},
      {"no point", {}, 5, CornerStyle::kChordChamfer, Closing::kClosed,
       Result::kTooClose, Refusal::kNoCorner, -1, -1, 0, 0},
      {"nan point", {{0, 0}, {100, 0}, {nan, 100}}, 5, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kTooClose, Refusal::kNotFinite, 2, -1, 0, 0},
      {"inf point of two", {{0, 0}, {kInf, 0}}, 5, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kTooClose, Refusal::kNotFinite, 1, -1, 0, 0},
      {"differences overflow", {{-1e308, 0}, {1e308, 0}, {1e308, 1e308}}, 5, CornerStyle::kDistanceChamfer, Closing::kOpen,
       Result::kTooClose, Refusal::kCornerNotFinite, 1, -1, 0, 0},
      {"huge but finite sides are measured", {{-1e300, 0}, {1e300, 0}, {1e300, 1e300}}, 5, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 3},
      {"tiny sides are measured", {{0, 0}, {1e-300, 0}, {1e-300, 1e-300}}, 1e-301, CornerStyle::kChordChamfer, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 3},
      {"a straight corner is passed: lines meet on its point",
       {{0, 0}, {50, 0}, {100, 0}, {100, 100}}, 5, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 4},
      {"a turn below the tolerance is straight", {{0, 0}, {100, 0}, {200, 5e-8}}, 5, CornerStyle::kChordChamfer, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 0, 2},
      {"a turn above the tolerance is cut", {{0, 0}, {100, 0}, {200, 2e-7}}, 5, CornerStyle::kChordChamfer, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 3},
      {"size 0: zero-length cuts on the corner points",
       {{0, 0}, {100, 0}, {100, 100}}, 0, CornerStyle::kRadiusArc, Closing::kOpen,
       Result::kDrawn, Refusal::kNone, -1, -1, 1, 3},
      {"by proximity: closes when the ends lie closer than 2 x size",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 9.99}}, 5, CornerStyle::kChordChamfer, Closing::kByProximity,
       Result::kDrawn, Refusal::kNone, -1, -1, 4, 8},
      {"by proximity: open at 2 x size",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 10}}, 5, CornerStyle::kChordChamfer, Closing::kByProximity,
       Result::kDrawn, Refusal::kNone, -1, -1, 3, 7},
      {"closed: the side from the last point to the first is named",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 3}}, 5, CornerStyle::kDistanceChamfer, Closing::kClosed,
       Result::kTooClose, Refusal::kShortSide, 4, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Outline o = Styled(c.points, c.size, c.style, c.closing);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.problem.kind, c.kind);
    if (c.result != Result::kDrawn) {
      EXPECT_EQ(o.problem.point, c.point);
      EXPECT_EQ(o.problem.next_point, c.next_point);
      EXPECT_TRUE(o.corners.empty());
      EXPECT_TRUE(o.segments.empty());
      EXPECT_FALSE(rrensen::Describe(o.problem).empty());
      continue;
    }
    EXPECT_EQ(o.corners.size(), c.corners);
    EXPECT_EQ(o.segments.size(), c.segments);
  }
}

TEST(CornerStyles, InvalidSizesAndStylesAreRefused) {
  const std::vector<Point> right = {{0, 0}, {100, 0}, {100, 100}};
  for (int style = 0; style < 4; ++style) {
    for (double size : {-1.0, -0.0001, kInf, -kInf, std::nan("")}) {
      for (Closing closing : kClosings) {
        for (const std::vector<Point>& points : {right, std::vector<Point>{}}) {
          SCOPED_TRACE(size);
          Outline o = Styled(points, size, static_cast<CornerStyle>(style), closing);
          EXPECT_EQ(o.result, Result::kInvalidSize);
          EXPECT_EQ(o.problem.kind, Refusal::kInvalidSize);
          EXPECT_TRUE(o.segments.empty());
          EXPECT_TRUE(o.corners.empty());
        }
      }
    }
  }
  Outline o = Styled(right, 5.0, static_cast<CornerStyle>(7));
  EXPECT_EQ(o.result, Result::kInvalidSize);
  EXPECT_EQ(o.problem.kind, Refusal::kInvalidStyle);
  EXPECT_FALSE(LargestFilletSize(right, {5.0, Closing::kOpen, static_cast<CornerStyle>(7)}));
}

TEST(CornerStyles, ProblemsSayWhatWasNeededAndFound) {
  Outline side = Styled({{0, 0}, {100, 0}, {100, 8}, {0, 8}}, 5.0, CornerStyle::kDistanceChamfer);
  EXPECT_EQ(side.problem.needed, 10.0);
  EXPECT_EQ(side.problem.found, 8.0);
  // (The short side's and the reversal's sentences: fillet_test, report_json_test.)
  Outline same = Styled({{0, 0}, {100, 0}, {100, 0}, {0, 8}}, 5.0, CornerStyle::kRadiusArc);
  EXPECT_EQ(rrensen::Describe(same.problem),
            "point 2 and point 3 lie on one spot: the side between them has no direction");
}

TEST(CornerStyles, LargestSizesAreExact) {
  const std::vector<Point> square = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  const std::vector<Point> nearly_closed = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 8}};
  const double chord_chamfer = 100 / (2 * 0.5 / std::cos(kPi / 4));
  struct {
    const char* name;
    const std::vector<Point>* points;
    CornerStyle style;
    Closing closing;
    double limit;
    double expected;  // -1: none
  } cases[] = {
      {"closed square, radius arcs", &square, CornerStyle::kRadiusArc, Closing::kClosed, kInf, 50},
      {"closed square, distance chamfers", &square, CornerStyle::kDistanceChamfer, Closing::kClosed, kInf, 50},
      {"closed square, chord chamfers", &square, CornerStyle::kChordChamfer, Closing::kClosed, kInf, chord_chamfer},
      {"open square: the first and last sides hold one cut", &square, CornerStyle::kRadiusArc, Closing::kOpen, kInf, 50},
      {"below the limit", &square, CornerStyle::kRadiusArc, Closing::kClosed, 20, std::nextafter(20.0, 0.0)},
      {"by proximity: the closed shape", &nearly_closed, CornerStyle::kDistanceChamfer, Closing::kByProximity, kInf, 50},
      {"by proximity, limit 4: open", &nearly_closed, CornerStyle::kDistanceChamfer, Closing::kByProximity, 4, std::nextafter(4.0, 0.0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<double> size =
        LargestFilletSize(*c.points, {0.0, c.closing, c.style}, c.limit);
    ASSERT_TRUE(size.has_value());
    EXPECT_NEAR(*size, c.expected, 1e-12 * c.expected);
    EXPECT_EQ(Styled(*c.points, *size, c.style, c.closing).result, Result::kDrawn);
  }
  // Nothing is cut: every size below the limit draws.
  const std::vector<Point> line = {{0, 0}, {50, 0}, {100, 0}};
  EXPECT_EQ(LargestFilletSize(line, {0.0, Closing::kOpen, CornerStyle::kRadiusArc}),
            DBL_MAX);
  EXPECT_EQ(LargestFilletSize(line, {0.0, Closing::kOpen, CornerStyle::kRadiusArc}, 3.0),
            std::nextafter(3.0, 0.0));
  // A reversal refuses every size; so does a limit of 0.
  EXPECT_FALSE(LargestFilletSize({{0, 0}, {100, 0}, {50, 0}},
                                 {0.0, Closing::kOpen, CornerStyle::kDistanceChamfer}));
  EXPECT_FALSE(LargestFilletSize(square, {0.0, Closing::kOpen, CornerStyle::kRadiusArc}, 0.0));
  EXPECT_FALSE(LargestFilletSize({}, {0.0, Closing::kOpen, CornerStyle::kRadiusArc}));
}

/// The points an outline runs through, for a test: a closed outline's last
/// point is dropped when it is taken as the first (by proximity) or is the
/// first once more.
std::vector<Point> RingOf(std::vector<Point> points, Closing closing, bool closed) {
  if (closed && (closing == Closing::kByProximity ||
                 (points.front().x == points.back().x &&
                  points.front().y == points.back().y))) {
    points.pop_back();
  }
  return points;
}

TEST(CornerStyles, LargestSizeWhereTheCutsWouldOverflow) {
  // A gentle left turn near the top of the doubles: every size up to the
  // largest double fits the sides, but a radius arc's centre lies `size`
  // above the first side, past the largest double for sizes above about
  // 1e307. The largest size is found by drawing.
  const std::vector<Point> high = {{-1e308, 1.7e308}, {0, 1.7e308}, {1e308, 1.75e308}};
  const rrensen::FilletOptions options{0.0, Closing::kOpen, CornerStyle::kRadiusArc};
  std::optional<double> largest = LargestFilletSize(high, options);
  ASSERT_TRUE(largest.has_value());
  EXPECT_GT(*largest, 9e306);
  EXPECT_LT(*largest, 1.1e307);
  EXPECT_EQ(Styled(high, *largest, CornerStyle::kRadiusArc).result, Result::kDrawn);
  Outline above = Styled(high, *largest * (1 + 1e-9), CornerStyle::kRadiusArc);
  EXPECT_EQ(above.problem.kind, Refusal::kCornerNotFinite);
  // Chamfers have no centre: the fit rule decides, the first side of 1e308
  // allowing distances up to its length.
  EXPECT_EQ(LargestFilletSize(high, {0.0, Closing::kOpen, CornerStyle::kDistanceChamfer}),
            std::optional<double>(1e308));
}

/// Checks the promises of one drawn outline through `ring` (see RingOf) in
/// `style` at `size`.
void CheckOutline(const Outline& o, const std::vector<Point>& ring,
                  double size, CornerStyle style) {
  const double tol = 1e-7;
  const Point first = ring.front(), last = ring.back();
  const size_t n = ring.size();
  ASSERT_FALSE(o.segments.empty());

  // Continuity: each piece starts where the one before ended; an open
  // outline runs from the first point to the last, a closed one ends where
  // it starts.
  Point at = o.closed ? o.segments.back().end : first;
  std::vector<int> cuts(o.corners.size(), 0);
  for (const Segment& s : o.segments) {
    ASSERT_LT(Dist(at, s.start), tol);
    at = s.end;
    if (s.corner >= 0) {
      ASSERT_LT(static_cast<size_t>(s.corner), o.corners.size());
      ++cuts[static_cast<size_t>(s.corner)];
      const Corner& c = o.corners[static_cast<size_t>(s.corner)];
      EXPECT_EQ(s.start.x, c.tangent_in.x);
      EXPECT_EQ(s.end.y, c.tangent_out.y);
      EXPECT_EQ(s.is_arc, c.is_arc);
      EXPECT_EQ(s.radius, c.radius);
    }
    if (s.is_arc) {
      EXPECT_NEAR(Dist(s.centre, s.start), s.radius, tol);
      EXPECT_NEAR(Dist(s.centre, s.end), s.radius, tol);
      double from = std::atan2(s.start.y - s.centre.y, s.start.x - s.centre.x);
      Point swept = {s.centre.x + s.radius * std::cos(from + s.sweep),
                     s.centre.y + s.radius * std::sin(from + s.sweep)};
      EXPECT_LT(Dist(swept, s.end), tol);
    } else {
      EXPECT_EQ(s.sweep, 0.0);
      if (s.corner < 0) {
        EXPECT_GT(Dist(s.start, s.end), 0.0) << "no empty side";
      }
    }
  }
  EXPECT_LT(Dist(at, o.closed ? o.segments.front().start : last), tol);
  for (int count : cuts) EXPECT_EQ(count, 1) << "one cut per corner";

  // Every corner point that turns is cut (every corner point for chord
  // arcs), and only those, in outline order: points 1 to n - 2 when open;
  // 1 to n - 1, then 0, when closed.
  std::vector<size_t> expected;
  const size_t corner_count = o.closed ? n : n - 2;
  for (size_t k = 1; k <= corner_count; ++k) {
    size_t v = k % n;
    double turn = TurnAt(ring[(v + n - 1) % n], ring[v], ring[(v + 1) % n]);
    if (std::fabs(turn) >= 1e-9 || style == CornerStyle::kChordArc) {
      expected.push_back(v);
    }
  }
  ASSERT_EQ(o.corners.size(), expected.size());

  // Every corner: its cut lies on its two sides, its ends as far from the
  // corner as the style says, the cut's own measure is the size.
  std::vector<double> cut_back(n, 0.0);
  for (size_t k = 0; k < o.corners.size(); ++k) {
    const Corner& c = o.corners[k];
    ASSERT_EQ(static_cast<size_t>(c.point), expected[k]);
    size_t i = static_cast<size_t>(c.point);
    Point a = ring[(i + n - 1) % n], p = ring[i], q = ring[(i + 1) % n];
    double turn = TurnAt(a, p, q);
    EXPECT_NEAR(c.turn, turn, 1e-9);
    cut_back[i] = c.cut_back;
    EXPECT_NEAR(c.cut_back, size * PerUnit(style, turn), tol * (1 + c.cut_back));
    EXPECT_NEAR(Dist(c.tangent_in, p), c.cut_back, tol);
    EXPECT_NEAR(Dist(c.tangent_out, p), c.cut_back, tol);
    EXPECT_NEAR(Cross(a, p, c.tangent_in) / Dist(a, p), 0, tol);
    EXPECT_NEAR(Cross(p, q, c.tangent_out) / Dist(p, q), 0, tol);
    EXPECT_LE(Along(a, p, c.tangent_in), 1 + 1e-12);
    EXPECT_GE(Along(p, q, c.tangent_out), -1e-12);
    switch (style) {
      case CornerStyle::kRadiusArc:
        // Tangent to both sides: the centre lies `size` from each, inside
        // the turn.
        EXPECT_TRUE(c.is_arc);
        EXPECT_EQ(c.radius, size);
        EXPECT_NEAR(std::fabs(Cross(a, p, c.centre)) / Dist(a, p), size, tol);
        EXPECT_NEAR(std::fabs(Cross(p, q, c.centre)) / Dist(p, q), size, tol);
        if (size > 0) {
          EXPECT_GT(Cross(a, p, c.centre) * turn, 0);
        }
        break;
      case CornerStyle::kDistanceChamfer:
        EXPECT_FALSE(c.is_arc);
        EXPECT_NEAR(Dist(c.tangent_in, p), size, tol);
        EXPECT_NEAR(Dist(c.tangent_out, p), size, tol);
        break;
      case CornerStyle::kChordChamfer:
        EXPECT_FALSE(c.is_arc);
        EXPECT_NEAR(Dist(c.tangent_in, c.tangent_out), size, tol);
        break;
      case CornerStyle::kChordArc:
        // An arc tangent to both sides, its centre inside the turn, when it
        // turns by more than 10 degrees; a chord of the size at the most.
        EXPECT_NEAR(Dist(c.tangent_in, c.tangent_out), size, tol);
        EXPECT_EQ(c.is_arc, std::fabs(turn) > 10 * kPi / 180) << turn;
        if (c.is_arc) {
          EXPECT_NEAR(std::fabs(Cross(a, p, c.centre)) / Dist(a, p), c.radius, tol);
          EXPECT_NEAR(std::fabs(Cross(p, q, c.centre)) / Dist(p, q), c.radius, tol);
          EXPECT_GT(Cross(a, p, c.centre) * turn, 0);
        } else {
          EXPECT_EQ(c.radius, 0.0);
        }
        break;
      case CornerStyle::kDogbone:
      case CornerStyle::kTBone: break;  // relief_test.cc
    }
  }
  // The cuts of each side do not overlap: the first ends no later along it
  // than the second starts.
  // (Chord arcs test each side against twice the size instead.)
  const size_t sides = style == CornerStyle::kChordArc ? 0 : o.closed ? n : n - 1;
  for (size_t j = 0; j < sides; ++j) {
    EXPECT_LE(cut_back[j] + cut_back[(j + 1) % n],
              Dist(ring[j], ring[(j + 1) % n]) * (1 + 1e-12));
  }
}

TEST(CornerStyles, ARightAngleInEachStyle) {
  // Turning left at (100, 0), then right at (100, 100): CheckOutline places
  // the cuts; here are their sizes, and the arcs' sweeps and bulges.
  const std::vector<Point> zigzag = {{0, 0}, {100, 0}, {100, 100}, {200, 100}};
  const double r = 5.0 / 2 / std::cos(kPi / 4);  // the chord style's cut-back
  struct {
    CornerStyle style;
    double cut_back;
    bool is_arc;
  } cases[] = {
      {CornerStyle::kRadiusArc, 5.0, true},
      {CornerStyle::kDistanceChamfer, 5.0, false},
      {CornerStyle::kChordChamfer, r, false},
      {CornerStyle::kChordArc, r, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    Outline o = Styled(zigzag, 5.0, c.style);
    ASSERT_EQ(o.result, Result::kDrawn);
    ASSERT_EQ(o.segments.size(), 5u);
    CheckOutline(o, zigzag, 5.0, c.style);
    const Corner& left = o.corners[0];
    EXPECT_EQ(left.is_arc, c.is_arc);
    EXPECT_NEAR(left.cut_back, c.cut_back, 1e-12);
    EXPECT_NEAR(left.tangent_in.x, 100 - c.cut_back, 1e-12);
    EXPECT_NEAR(left.tangent_out.y, c.cut_back, 1e-12);
    EXPECT_EQ(o.segments[1].sweep, c.is_arc ? left.turn : 0.0);
    EXPECT_EQ(o.segments[3].sweep, c.is_arc ? o.corners[1].turn : 0.0);
    EXPECT_NEAR(rrensen::Bulge(o.segments[1]), c.is_arc ? std::tan(kPi / 8) : 0.0, 1e-15);
  }
}

/// A random outline: a star-shaped ring, or a walk whose turns are of every
/// size, some straight (a point halfway along a side).
std::vector<Point> RandomOutline(std::mt19937& rng, bool ring) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Point> pts;
  // A ring has at least three points besides its repeated first one.
  int n = (ring ? 4 : 3) + static_cast<int>(unit(rng) * (ring ? 12 : 25));
  if (ring) {
    pts = Star(rng, n - 1);
    pts.push_back(pts[0]);
    return pts;
  }
  double dir = 2 * kPi * unit(rng);
  Point at{1000 * unit(rng) - 500, 1000 * unit(rng) - 500};
  pts.push_back(at);
  for (int k = 1; k < n; ++k) {
    // Some turns gentle enough for chord arcs' chords.
    double turn = (unit(rng) - 0.5) * (unit(rng) < 0.2 ? 20 : 340) * kPi / 180;
    if (k > 1) dir += turn;
    double len = 20 + 400 * unit(rng);
    Point next = {at.x + len * std::cos(dir), at.y + len * std::sin(dir)};
    if (unit(rng) < 0.1) pts.push_back({(at.x + next.x) / 2, (at.y + next.y) / 2});
    at = next;
    pts.push_back(at);
  }
  return pts;
}

TEST(CornerStyles, PropertiesOfGeneratedOutlinesInEveryStyleAndClosing) {
  std::mt19937 rng(20261207);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int drawn_open = 0, drawn_closed = 0, short_sides = 0;
  for (int trial = 0; trial < 2400; ++trial) {
    const bool ring = trial % 2 == 1;
    const Closing closing = kClosings[trial / 2 % 3];
    const CornerStyle style = static_cast<CornerStyle>(trial / 6 % 4);
    // Chord arcs refuse a side shorter than twice the size, and a corner
    // too sharp for its sides; their largest sizes are whole thousandths.
    const bool chord_arc = style == CornerStyle::kChordArc;
    const std::vector<Point> pts = RandomOutline(rng, ring);
    const double size = 1 + 60 * unit(rng);
    SCOPED_TRACE(trial);
    Outline o = Styled(pts, size, style, closing);
    const bool near = Dist(pts.front(), pts.back()) < 2 * size;
    EXPECT_EQ(o.closed, closing == Closing::kClosed ||
                            (closing == Closing::kByProximity && near));
    const std::vector<Point> ringed = RingOf(pts, closing, o.closed);
    // The largest size draws; a size a little above it does not.
    std::optional<double> largest =
        LargestFilletSize(pts, {0.0, closing, style});
    ASSERT_TRUE(largest.has_value());
    // At the largest size some side is used up: the outline keeps its
    // promises there too.
    Outline at_largest = Styled(pts, *largest, style, closing);
    ASSERT_EQ(at_largest.result, Result::kDrawn);
    CheckOutline(at_largest, RingOf(pts, closing, at_largest.closed), *largest, style);
    const double next = chord_arc ? *largest + 0.001 : std::nextafter(*largest, kInf);
    EXPECT_NE(Styled(pts, next, style, closing).result, Result::kDrawn);
    if (!chord_arc) {
      EXPECT_NE(Styled(pts, *largest * (1 + 1e-9), style, closing).result, Result::kDrawn);
    }
    // Open or closed whatever the size, the sizes that draw run from 0 to
    // the largest. (By proximity the closed shape may draw sizes above some
    // that the open shape refuses.)
    if (closing != Closing::kByProximity && (!chord_arc || size <= *largest || size >= next)) {
      EXPECT_EQ(o.result == Result::kDrawn, size <= *largest);
    }
    if (o.result == Result::kDrawn) {
      CheckOutline(o, ringed, size, style);
      (o.closed ? drawn_closed : drawn_open) += 1;
    } else {
      EXPECT_TRUE(o.segments.empty()) << "all or nothing";
      EXPECT_TRUE(o.corners.empty());
      const bool sharp = chord_arc && o.problem.kind == Refusal::kSharpCorner;
      ASSERT_EQ(o.problem.kind, sharp ? Refusal::kSharpCorner : Refusal::kShortSide);
      short_sides += sharp ? 0 : 1;
      // The side named is too short for its cuts.
      const size_t m = pts.size();
      const size_t i = static_cast<size_t>(o.problem.point);
      const size_t j = static_cast<size_t>(o.problem.next_point);
      ASSERT_TRUE(sharp || j == i + 1 || (j == 0 && o.closed));
      EXPECT_GT(o.problem.needed, o.problem.found);
      if (sharp) continue;
      EXPECT_NEAR(o.problem.found, Dist(pts[i], pts[j]), 1e-9);
      // Its cut-backs, from the corners at its ends, add up to `needed`.
      const size_t n = ringed.size();
      auto per_unit = [&](size_t v) {
        if (!o.closed && (v == 0 || v == m - 1)) return 0.0;
        double t = TurnAt(ringed[(v + n - 1) % n], ringed[v], ringed[(v + 1) % n]);
        return std::fabs(t) < 1e-9 ? 0.0 : PerUnit(style, t);
      };
      EXPECT_NEAR(o.problem.needed,
                  chord_arc ? 2 * size : size * (per_unit(i) + per_unit(j)),
                  1e-9 * o.problem.needed);
    }
  }
  EXPECT_GT(drawn_open, 200);
  EXPECT_GT(drawn_closed, 200);
  EXPECT_GT(short_sides, 200);
}

}  // namespace
