#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "geometry/fillet_rules.h"
#include "geometry/largest_size_by_bisection.h"
#include "geometry/test_geometry.h"
#include "rrensen/fillet.h"

namespace {

using namespace test_geometry;  // NOLINT(google-build-using-namespace)

using rrensen::Closing;
using rrensen::Fillet;
using rrensen::LargestFilletSize;
using rrensen::Point;
using rrensen::Result;

const double kNan = std::numeric_limits<double>::quiet_NaN();
const Closing kClosings[] = {Closing::kByProximity, Closing::kOpen,
                             Closing::kClosed};

std::string Text(std::optional<double> size) {
  if (!size) return "none";
  char buf[40];
  (void)std::snprintf(buf, sizeof buf, "%.17g", *size);
  return buf;
}

std::string Text(const std::vector<Point>& points) {
  std::string s;
  char buf[100];
  for (const Point& p : points) {
    (void)std::snprintf(buf, sizeof buf, " (%.17g, %.17g)", p.x, p.y);
    s += buf;
  }
  return s;
}

/// The same answer: both none, or the same double to the bit (0 and -0
/// differ).
bool Same(std::optional<double> a, std::optional<double> b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || Bits(*a) == Bits(*b);
}

/// Outlines of up to nine points, of the kinds where the search may go
/// wrong: sides and corners that fit a size exactly, points that coincide,
/// lie in a line or turn exactly back, tiny and huge coordinates.
class Outlines {
 public:
  explicit Outlines(uint64_t seed) : random_(seed) {}

  enum Kind {
    kIntegerGrid,     // coincident points, collinear runs, 45 and 90 degrees
    kThousandthGrid,  // sides of whole thousandths
    kReal,            // anything
    kScaled,          // anything, from 1e-6 to 1e6 in size
    kAxisWalk,        // right angles and exact reversals
    kCollinearRuns,   // long straight runs with the odd turn
    kRegularPolygon,  // every corner alike, closed or not
    kClosesNearTwiceSize,  // last point a whole number of 0.002 from the first
    kHuge,            // 1e100 (modelled), 1e160 and 1e300 (searched by runs)
    kNotFinite,       // one point NaN or infinite
    kTinySides,       // sides from 1e-1 down to 1e-320 long
    kSidesOfTwiceSize,  // sides of twice a whole number of thousandths
    kSignedZeros,     // -0 and 0 coordinates: atan2 tells them apart
    kCornersThatJustHold,  // sides of exactly 1.5 cut-backs for a thousandth
    kKindCount,
  };

  std::vector<Point> Make(int kind) {
    const int n = Count(0, 8);
    std::vector<Point> p;
    switch (kind) {
      case kIntegerGrid:
        for (int i = 0; i < n; ++i) p.push_back({Int(-20, 20), Int(-20, 20)});
        break;
      case kThousandthGrid:
        for (int i = 0; i < n; ++i) {
          p.push_back({Int(-3000, 3000) / 1000, Int(-3000, 3000) / 1000});
        }
        break;
      case kReal:
        for (int i = 0; i < n; ++i) p.push_back({Real(-100, 100), Real(-100, 100)});
        break;
      case kScaled: {
        const double scale = std::pow(10.0, Int(-6, 6));
        for (int i = 0; i < n; ++i) p.push_back({Real(-1, 1) * scale, Real(-1, 1) * scale});
        break;
      }
      case kAxisWalk: {
        Point at{Int(-5, 5), Int(-5, 5)};
        for (int i = 0; i < n; ++i) {
          p.push_back(at);
          const double step = Int(1, 30);
          const int way = Count(0, 3);
          (way < 2 ? at.x : at.y) += way % 2 == 0 ? step : -step;
        }
        break;
      }
      case kCollinearRuns: {
        Point at{0, 0};
        const double angle = Int(0, 7) * kPi / 4;
        for (int i = 0; i < n; ++i) {
          p.push_back(at);
          const double step = Int(1, 20) * 0.5;
          const double turn = Int(0, 3) == 0 ? kPi / 2 : 0.0;
          at = {at.x + step * std::cos(angle + turn),
                at.y + step * std::sin(angle + turn)};
        }
        break;
      }
      case kRegularPolygon: {
        const int corners = Count(3, 12);
        const double radius = Real(1, 50);
        for (int i = 0; i < corners; ++i) {
          const double a = 2 * kPi * i / corners;
          p.push_back({radius * std::cos(a), radius * std::sin(a)});
        }
        if (Int(0, 1) == 1) p.push_back(p.front());
        break;
      }
      case kClosesNearTwiceSize:
        for (int i = 0; i < n; ++i) p.push_back({Int(-20, 20), Int(-20, 20)});
        if (!p.empty()) p.push_back({p.front().x + Int(0, 40) * 0.002, p.front().y});
        break;
      case kHuge: {
        const double scales[] = {1e100, 1e160, 1e300};
        const double scale = scales[Count(0, 2)];
        for (int i = 0; i < n; ++i) p.push_back({Int(-20, 20) * scale, Int(-20, 20) * scale});
        break;
      }
      case kNotFinite: {
        for (int i = 0; i < n; ++i) p.push_back({Int(-20, 20), Int(-20, 20)});
        if (p.empty()) break;
        const double bad[] = {kNan, kInf, -kInf};
        Point& q = p[static_cast<size_t>(Count(0, n - 1))];
        (Int(0, 1) == 1 ? q.x : q.y) = bad[Count(0, 2)];
        break;
      }
      case kTinySides:
        for (int i = 0; i < n; ++i) {
          p.push_back({Int(-20, 20), Int(-20, 20)});
          if (Int(0, 2) == 0) {
            const double tiny = std::pow(10.0, -Int(1, 320));
            p.push_back({p.back().x + Real(-1, 1) * tiny,
                         p.back().y + Int(0, 1) * Real(-1, 1) * tiny});
          }
        }
        break;
      case kSidesOfTwiceSize: {
        Point at{0, 0};
        for (int i = 0; i < n; ++i) {
          p.push_back(at);
          const double a = Real(0, 2 * kPi);
          const double length = 2 * Int(0, 30000) / 1000;
          at = {at.x + length * std::cos(a), at.y + length * std::sin(a)};
        }
        break;
      }
      case kSignedZeros:
        for (int i = 0; i < n; ++i) {
          p.push_back({Int(0, 2) == 0 ? -0.0 : Int(-2, 2), Int(0, 2) == 0 ? -0.0 : Int(-2, 2)});
        }
        break;
      case kCornersThatJustHold: {
        // A corner whose shorter side is exactly what a thousandth needs,
        // as the corner pass measures it; the points then round it.
        const double size = Int(1, 20000) / 1000;
        const double in = Real(-kPi, kPi);
        const double out = in + Real(-3, 3);
        const Point unit_in{std::cos(in), std::sin(in)};
        const Point unit_out{std::cos(out), std::sin(out)};
        const Point sum{unit_in.x + unit_out.x, unit_in.y + unit_out.y};
        const double cos_half_turn = geometry::MeasureCorner({0, 0}, unit_in, sum).cos_half_turn;
        const double needed = geometry::CornerNeeds(geometry::CutBack(size, cos_half_turn));
        const double longer = needed * Real(1, 3);
        const bool in_shorter = Int(0, 1) == 1;
        const double length_in = in_shorter ? needed : longer;
        const double length_out = in_shorter ? longer : needed;
        const Point at{Int(-20, 20), Int(-20, 20)};
        p = {{at.x - length_in * unit_in.x, at.y - length_in * unit_in.y},
             at,
             {at.x + length_out * unit_out.x, at.y + length_out * unit_out.y}};
        if (Int(0, 1) == 1) p.push_back({p.back().x + 100, p.back().y + 50});
        break;
      }
      default: break;
    }
    return p;
  }

 private:
  int Count(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  double Int(int lo, int hi) { return Count(lo, hi); }
  double Real(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random_);
  }
  std::mt19937_64 random_;
};

/// Thousands of outlines of every kind, with every closing and a few
/// limits: the one-pass search gives what the bisection gave, to the bit.
TEST(LargestFilletSize, EqualsTheBisectionOnGeneratedOutlines) {
  const int kOutlinesOfEachKind = 150;
  const double limits[] = {20.0, 1e3, 0.0009, kInf};
  // With no limit the search finds what the bisection finds below 1e9,
  // which none of the sizes of these kinds reaches; an outline that every
  // size draws (two open points) gives infinity.
  const std::set<int> below_1e9 = {Outlines::kIntegerGrid,    Outlines::kReal,
                                   Outlines::kAxisWalk,       Outlines::kRegularPolygon,
                                   Outlines::kClosesNearTwiceSize, Outlines::kSidesOfTwiceSize};
  Outlines outlines(20261207);
  for (int kind = 0; kind < Outlines::kKindCount; ++kind) {
    int differing = 0;
    for (int k = 0; k < kOutlinesOfEachKind; ++k) {
      const std::vector<Point> points = outlines.Make(kind);
      for (Closing closing : kClosings) {
        for (double limit : limits) {
          if (limit == kInf && below_1e9.count(kind) == 0) continue;
          const rrensen::FilletOptions options{5.0, closing};
          std::optional<double> expected = geometry::by_bisection::LargestFilletSize(
              points, options, limit == kInf ? 1e9 : limit);
          if (limit == kInf && points.size() == 2 && closing == Closing::kOpen) {
            expected = kInf;
          }
          std::optional<double> found = LargestFilletSize(points, options, limit);
          if (!Same(found, expected) && ++differing <= 5) {
            ADD_FAILURE() << "kind " << kind << ", closing "
                          << static_cast<int>(closing) << ", limit " << limit
                          << ": found " << Text(found) << ", the bisection "
                          << Text(expected) << ", points" << Text(points);
          }
        }
      }
    }
    EXPECT_EQ(differing, 0) << "kind " << kind;
  }
}

TEST(LargestFilletSize, WorkedCases) {
  const std::vector<Point> square_corner = {{0, 0}, {100, 0}, {100, 8}};
  struct {
    const char* name;
    std::vector<Point> points;
    Closing closing;
    double limit;
    std::optional<double> expected;
  } cases[] = {
      {"the last side holds 2 x 4", square_corner, Closing::kByProximity, 20, 4.0},
      {"the same, no limit", square_corner, Closing::kByProximity, kInf, 4.0},
      {"a limit far above", square_corner, Closing::kByProximity, 1e300, 4.0},
      {"below the limit, in thousandths", square_corner, Closing::kOpen, 3.0, 2.999},
      {"two open points: every size", {{0, 0}, {1, 0}}, Closing::kOpen, kInf, kInf},
      {"two open points, a limit", {{0, 0}, {1, 0}}, Closing::kOpen, 20, 19.999},
      {"two points close above half their distance", {{0, 0}, {1, 0}}, Closing::kByProximity, kInf, 0.5},
      {"two points closed have no corner", {{0, 0}, {1, 0}}, Closing::kClosed, kInf, std::nullopt},
      {"one point", {{1, 2}}, Closing::kOpen, kInf, std::nullopt},
      {"no point", {}, Closing::kOpen, kInf, std::nullopt},
      {"turns exactly back: no size", {{0, 0}, {10, 0}, {0, 0}}, Closing::kOpen, kInf, std::nullopt},
      {"coincident points: only 0", {{0, 0}, {0, 0}, {0, 0}}, Closing::kOpen, kInf, 0.0},
      {"not finite", {{0, 0}, {kNan, 0}, {10, 10}}, Closing::kOpen, kInf, std::nullopt},
      {"limit 0", square_corner, Closing::kOpen, 0.0, std::nullopt},
      {"limit NaN", square_corner, Closing::kOpen, kNan, std::nullopt},
      {"too large to count in thousandths: as found",
       {{0, 0}, {1e14, 0}, {1e14, 1e14}}, Closing::kOpen, kInf, 5e13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<double> found =
        LargestFilletSize(c.points, {5.0, c.closing}, c.limit);
    EXPECT_TRUE(Same(found, c.expected))
        << "found " << Text(found) << ", expected " << Text(c.expected);
  }
  // Beyond 1e150 and below a limit the size is searched by halving: it
  // comes to within a few parts in 1e20 of the corner's bound, 1.5 cut-backs
  // of size / (2 cos 45 degrees) on the first side, 1e160.
  const std::optional<double> huge = LargestFilletSize(
      {{0, 0}, {1e160, 0}, {1e160, 8e160}}, {5.0, Closing::kOpen}, 1e163);
  ASSERT_TRUE(huge.has_value());
  EXPECT_NEAR(*huge / (1e160 * std::sqrt(0.5) / 0.75), 1.0, 1e-14);
}

/// Sizes found with no limit draw, and the next size up (the next thousandth,
/// or the next double for a size found as it is) does not.
TEST(LargestFilletSize, TheSizeFoundDrawsAndTheNextDoesNot) {
  Outlines outlines(99);
  const int kinds[] = {Outlines::kReal, Outlines::kScaled, Outlines::kHuge,
                       Outlines::kCornersThatJustHold,
                       Outlines::kSidesOfTwiceSize};
  for (int kind : kinds) {
    for (int k = 0; k < 100; ++k) {
      const std::vector<Point> points = outlines.Make(kind);
      for (Closing closing : kClosings) {
        std::optional<double> found = LargestFilletSize(points, {5.0, closing});
        if (!found || std::isinf(*found)) continue;
        SCOPED_TRACE(Text(points));
        EXPECT_EQ(Fillet(points, {*found, closing}).result, Result::kDrawn);
        const double next = *found < 1e12 ? *found + 0.001
                                          : std::nextafter(*found, kInf);
        EXPECT_NE(Fillet(points, {next, closing}).result, Result::kDrawn);
      }
    }
  }
}

/// A ring of a million points, about 6.28 apart: refused at the default
/// size, drawn up to half its side, found in one pass.
TEST(LargestFilletSize, AMillionPoints) {
  std::vector<Point> ring;
  ring.reserve(1000000);
  for (int k = 0; k < 1000000; ++k) {
    const double a = 2 * kPi * k / 1000000;
    ring.push_back({1e6 * std::cos(a), 1e6 * std::sin(a)});
  }
  // The spacing decides: every side is 2 pi, about 6.2832, long.
  for (Closing closing : kClosings) {
    EXPECT_EQ(LargestFilletSize(ring, {5.0, closing}, 20.0), 3.141);
    EXPECT_EQ(LargestFilletSize(ring, {5.0, closing}), 3.141);
  }
  // A zigzag whose middle corner turns exactly back: no size.
  std::vector<Point> zigzag;
  zigzag.reserve(1000000);
  for (int k = 0; k < 1000000; ++k) zigzag.push_back({10.0 * k, k % 2 == 0 ? 0.0 : 10.0});
  zigzag[500001] = {zigzag[500000].x + 20, 0};
  zigzag[500002] = zigzag[500000];
  for (Closing closing : kClosings) {
    EXPECT_EQ(LargestFilletSize(zigzag, {5.0, closing}), std::nullopt);
  }
}

}  // namespace
