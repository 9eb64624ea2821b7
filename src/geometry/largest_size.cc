#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "geometry/angles.h"
#include "geometry/corner_styles.h"
#include "geometry/fillet_rules.h"
#include "rrensen/fillet.h"

/// The largest fillet size, found from one pass over the points instead of
/// whole Fillet runs.
///
/// Fillet draws an outline, for one way of closing it (its "shape": its
/// working points), exactly when three kinds of test pass:
/// - spacing: 2 x size <= the length of every tested side;
/// - corners: 1.5 x cut_back <= both side lengths of every corner, where
///   cut_back = size x 0.5 / |cos k0|;
/// - no arc corner turns exactly back (k0 = 0.5 x pi), whatever the size.
/// (The corner pass also refuses a corner whose values are not finite. With
/// coordinates of at most kLargestModelledCoordinate in size that cannot
/// happen to a corner whose sides pass: see below.)
/// Each test compares a rounded product of the size with a length, and
/// rounding is monotonic, so each passes for every size up to a threshold
/// and for none above it, and the shape draws for every size up to the least
/// threshold, T, and for none above. The size decides the shape only with
/// Closing::kByProximity: open up to half the distance from the first point
/// to the last, closed above.
///
/// The spacing tests need no trigonometry: they hold exactly when
/// 2 x size <= the shortest tested side. The corners' |cos k0| come from
/// trig::Atan2 and trig::Cos, more than a microsecond a corner; the pass
/// instead estimates |cos k0| of every corner from its sides' unit vectors,
/// within kCosineTolerance of the corner pass's value, which bounds each
/// corner's threshold between two sizes a few parts in 1e13 apart. A
/// corner is measured as the corner pass measures it (MeasureCorner) only
/// when a size asked about falls between its bounds, or when it may turn
/// exactly back. Whether a size draws is then exact; T is known within the
/// least bounds, or exactly once the corners whose bounds reach below them
/// are measured. (The corners of a regular polygon have about the same
/// threshold and their bounds overlap: all are measured when a size asked
/// about falls into that narrow band.)
///
/// The search is the one LargestFilletSize always made (the tests keep it
/// in largest_size_by_bisection.h): T, the largest size below the limit
/// that draws (with kByProximity, the largest that draws closed if any size
/// does, else the largest that draws open), rounded to thousandths, at most
/// limit - 0.001, then a thousandth less at a time while that does not
/// draw. T is rounded as it is, or as its bounds are when both round alike.
/// The bisection had T to within 1e-12 (for limits up to about 1e12; above,
/// its 80 halvings could stop short): where its start differs, by one
/// thousandth, the higher start lies above T and does not draw, and the
/// step down meets the lower one.

namespace geometry {
namespace {

using rrensen::Closing;
using rrensen::Point;

constexpr double kLargestSize = std::numeric_limits<double>::max();

/// Coordinates up to this size keep every value of the corner pass finite
/// at every size whose tests pass. Differences stay below 2e150, squared
/// lengths below 1e301, so every length is finite. A corner whose sides
/// pass has cut_back <= len / 1.5; its arc radius is cut_back / |tan k0|
/// with |tan k0| >= tan 5 degrees > 0.08 (an arc turns by more than 10
/// degrees), a chord corner carries the last arc's radius; tangent points
/// and centres stay within about 30 times the largest coordinate, far from
/// overflow. Larger coordinates are searched with whole Fillet runs.
constexpr double kLargestModelledCoordinate = 1e150;

/// How far |cos k0| as estimated here may lie from the corner pass's value.
/// Both lie within about 2e-15 of the true cosine: the corner pass's comes
/// from two atan2 results of up to pi in size (a rounding is at most 2.2e-16
/// there), their difference and cos, each rounded once, and |cos| changes
/// no faster than its argument; the estimate from unit vectors is within a
/// few roundings of 1.1e-16. The tolerance is 50 times that.
constexpr double kCosineTolerance = 1e-13;

/// Relative allowance for the roundings between a corner's estimated
/// threshold m x c / 0.75 and the size the comparison in Fillet admits:
/// a few units of 1.1e-16 each.
constexpr double kRoundingAllowance = 1e-14;

/// Lower bounds of thresholds below this are taken as 0, and upper bounds
/// are raised by it, so that the bounds hold where halving a size loses
/// bits (subnormal numbers). A size asked about below it is decided by
/// measuring the corners.
constexpr double kTinySize = 1e-290;

/// A unit vector along a side.
struct Direction {
  double x = 1.0;
  double y = 0.0;
};

/// The unit vector of the side from `a` to `b`: the direction whose angle
/// trig::Atan2(b.y - a.y, b.x - a.x) gives, from the same differences. The
/// differences are scaled by the larger first, so that tiny ones, whose
/// squares vanish, keep their direction. atan2 of two zeros is 0, or pi
/// when the x difference is -0.
Direction DirectionOf(const Point& a, const Point& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double scale = std::max(std::fabs(dx), std::fabs(dy));
  if (scale == 0.0) return {std::signbit(dx) ? -1.0 : 1.0, 0.0};
  const double ux = dx / scale;
  const double uy = dy / scale;
  const double length = std::sqrt(ux * ux + uy * uy);
  return {ux / length, uy / length};
}

/// |cos k0| of a corner, k0 half the change of direction: for unit vectors
/// u and v at angles a and b, |u + v| = 2 |cos((b - a) / 2)|, whatever
/// multiple of 2 pi lies between the angles.
double EstimatedHalfTurnCosine(const Direction& in, const Direction& out) {
  const double sx = in.x + out.x;
  const double sy = in.y + out.y;
  return std::sqrt(sx * sx + sy * sy) * 0.5;
}

/// Whether a side of `length` passes the spacing test with `size`.
bool SideHolds(double size, double length) {
  return !(SideNeeds(size) > length);
}

/// Whether a corner of |cos k0| = `cos_half_turn` whose shorter side is
/// `length` passes the corner test with `size`.
bool CornerHolds(double size, double cos_half_turn, double length) {
  return !(CornerNeeds(CutBack(size, cos_half_turn)) > length);
}

/// The largest size from `estimate`, found by stepping one double at a time
/// (a few steps from a close estimate), for which `holds` (monotonic: true
/// up to some size, false above) is true; `holds(0)` must be true.
template <typename Holds>
double LargestHolding(double estimate, Holds holds) {
  double size = std::fmin(std::fmax(estimate, 0.0), kLargestSize);
  while (size > 0.0 && !holds(size)) size = std::nextafter(size, 0.0);
  while (size < kLargestSize && holds(std::nextafter(size, kLargestSize))) {
    size = std::nextafter(size, kLargestSize);
  }
  return size;
}

/// Bounds on the threshold of a corner: every size up to `low` passes its
/// test, none above `high`.
struct CornerBounds {
  double low = 0.0;
  double high = 0.0;
};

/// The bounds for a corner whose shorter side is `length` and whose
/// |cos k0| is estimated as `cosine`. The test admits about
/// length x |cos k0| / 0.75; the bounds allow for kCosineTolerance and the
/// roundings. At or below kCosineTolerance the corner may turn exactly back
/// and its threshold may be as low as 0.
CornerBounds BoundsOf(double length, double cosine) {
  CornerBounds b;
  b.high =
      length * (cosine + kCosineTolerance) / 0.75 * (1 + kRoundingAllowance) +
      kTinySize;
  if (cosine > kCosineTolerance) {
    b.low =
        length * (cosine - kCosineTolerance) / 0.75 * (1 - kRoundingAllowance);
    if (b.low < kTinySize) b.low = 0.0;
  }
  return b;
}

/// One shape of the outline (its working points) and what is known of the
/// sizes with which Fillet draws it: the spacing threshold exactly, and
/// bounds on the least corner threshold. Corners are measured with
/// trigonometry only by the passes that a size near their threshold, or a
/// possible turn exactly back, calls for; nothing is kept per corner.
class ShapeThresholds {
 public:
  ShapeThresholds(const std::vector<Point>& points, Closing closing,
                  bool closes_by_proximity)
      : points_(points),
        working_(ShapeOf(points, closing, closes_by_proximity)) {
    const size_t count = working_.size();
    // No corner: two open points are one line, whatever the size;
    // anything else draws nothing.
    if (count < 3) {
      kind_ = (!working_.closed && count == 2) ? Kind::kAlways : Kind::kNever;
      return;
    }
    kind_ = Kind::kLimited;
    arc_threshold_ = ArcThreshold();
    double shortest = std::numeric_limits<double>::infinity();
    double at_least = std::numeric_limits<double>::infinity();
    double at_most = std::numeric_limits<double>::infinity();
    bool may_turn_back = false;
    ForEachCorner([&](size_t, double length_out, double length, double cosine) {
      // Every side but the first is tested: each corner's outgoing one.
      shortest = std::min(shortest, length_out);
      const CornerBounds b = BoundsOf(length, cosine);
      at_least = std::min(at_least, b.low);
      at_most = std::min(at_most, b.high);
      may_turn_back = may_turn_back || !(cosine > kCosineTolerance);
      return true;
    });
    shortest_tested_ = shortest;
    spacing_largest_ = LargestHolding(shortest * 0.5, [shortest](double s) {
      return SideHolds(s, shortest);
    });
    corners_at_least_ = at_least;
    corners_at_most_ = at_most;
    if (!may_turn_back) turns_back_ = false;
  }

  /// Whether Fillet draws this shape with `size` (finite, 0 or more), as
  /// its tests decide.
  bool Draws(double size) {
    if (kind_ != Kind::kLimited) return kind_ == Kind::kAlways;
    if (!SideHolds(size, shortest_tested_)) return false;
    if (size > corners_at_most_) return false;
    if (size > corners_at_least_ && !CornersHold(size)) return false;
    return !TurnsBack();
  }

  /// Bounds on T, the largest size that draws the shape; for a shape that
  /// draws at 0 and not at every size.
  double AtLeast() const {
    return std::min(spacing_largest_, corners_at_least_);
  }
  double AtMost() const { return std::min(spacing_largest_, corners_at_most_); }

  /// T itself: one more pass, measuring every corner whose lower bound lies
  /// below the least threshold found so far.
  double Largest() {
    double largest = AtMost();
    ForEachCorner([&](size_t k, double, double length, double cosine) {
      if (BoundsOf(length, cosine).low < largest) {
        largest = std::min(largest, Threshold(k));
      }
      return true;
    });
    return largest;
  }

 private:
  enum class Kind { kNever, kAlways, kLimited };

  const Point& At(size_t k) const { return working_.At(points_, k); }

  /// Calls visit(k, length_out, shorter_length, estimated_cosine) for the
  /// corner at every working point k from 1 to count - 2 (between side
  /// k - 1, from point k - 1 to k, and side k), in order, while it returns
  /// true.
  template <typename Visit>
  void ForEachCorner(Visit visit) const {
    const size_t count = working_.size();
    const Point* from = &At(1);
    double length_in = Distance(At(0), *from);
    Direction in = DirectionOf(At(0), *from);
    for (size_t k = 1; k + 1 < count; ++k) {
      const Point* to = &At(k + 1);
      const double length_out = Distance(*from, *to);
      const Direction out = DirectionOf(*from, *to);
      if (!visit(k, length_out, std::min(length_in, length_out),
                 EstimatedHalfTurnCosine(in, out))) {
        return;
      }
      from = to;
      length_in = length_out;
      in = out;
    }
  }

  /// The corner at working point `k`, measured as the corner pass measures
  /// it.
  CornerMeasure MeasureCornerAt(size_t k) const {
    return MeasureCorner(At(k - 1), At(k), At(k + 1));
  }

  /// The threshold of the corner at working point `k`; -1 for a corner
  /// that no size passes.
  double Threshold(size_t k) const {
    const CornerMeasure m = MeasureCornerAt(k);
    const double length = std::min(m.len_in, m.len_out);
    const double cosine = m.cos_half_turn;
    // |cos k0| is never 0 for a double k0; if it were, every size but 0
    // would fail the test and 0 would give a cut-back that is not a number.
    if (!(cosine > 0.0)) return -1.0;
    return LargestHolding(length * cosine / 0.75, [=](double s) {
      return CornerHolds(s, cosine, length);
    });
  }

  /// Whether every corner passes its test with `size`: a pass measuring the
  /// corners whose lower bound lies below it.
  bool CornersHold(double size) const {
    bool hold = true;
    ForEachCorner([&](size_t k, double, double length, double cosine) {
      if (BoundsOf(length, cosine).low < size) hold = !(size > Threshold(k));
      return hold;
    });
    return hold;
  }

  /// Whether an arc corner turns exactly back, which no size draws: a pass
  /// measuring the corners that may.
  bool TurnsBack() {
    if (!turns_back_) {
      bool back = false;
      ForEachCorner([&](size_t k, double, double, double cosine) {
        if (!(cosine > kCosineTolerance)) {
          const CornerMeasure m = MeasureCornerAt(k);
          back = IsArc(m.cos_half_turn, arc_threshold_) &&
                 TurnsExactlyBack(m.half_turn);
        }
        return !back;
      });
      turns_back_ = back;
    }
    return *turns_back_;
  }

  const std::vector<Point>& points_;
  WorkingShape working_;
  Kind kind_ = Kind::kNever;
  double arc_threshold_ = 0.0;
  /// The shortest side the spacing tests, and the largest size it admits.
  double shortest_tested_ = 0.0;
  double spacing_largest_ = 0.0;
  /// The least of the corners' lower bounds and of their upper bounds.
  double corners_at_least_ = 0.0;
  double corners_at_most_ = 0.0;
  /// Whether an arc corner turns exactly back, once a pass has looked.
  std::optional<bool> turns_back_;
};

/// What a search learnt of the largest size that draws within a range: it
/// lies in [at_least, at_most].
struct Found {
  double at_least = 0.0;
  double at_most = 0.0;
};

/// The search over the shapes' thresholds.
class ThresholdSearch {
 public:
  ThresholdSearch(const std::vector<Point>& points, Closing closing)
      : points_(points), closing_(closing) {}

  bool Draws(double size) { return ShapeFor(size).Draws(size); }

  /// The largest size in [lo, hi] that draws, where the outline has one
  /// shape; none when `lo` does not draw.
  std::optional<Found> Largest(double lo, double hi) {
    ShapeThresholds& shape = ShapeFor(lo);
    if (!shape.Draws(lo)) return std::nullopt;
    if (shape.Draws(hi)) return Found{hi, hi};
    found_in_ = &shape;
    return Found{std::fmax(lo, shape.AtLeast()),
                 std::fmin(std::nextafter(hi, 0.0), shape.AtMost())};
  }

  /// The size `found` bounds: T itself, measured, when the bounds are not
  /// yet one size (they come from the range Largest found last).
  double Pin(const Found& found) {
    if (found.at_least == found.at_most || found_in_ == nullptr) {
      return found.at_least;
    }
    return found_in_->Largest();
  }

 private:
  ShapeThresholds& ShapeFor(double size) {
    const bool closes =
        closing_ == Closing::kByProximity && ClosesByProximity(points_, size);
    std::optional<ShapeThresholds>& shape = closes ? closed_ : open_or_only_;
    if (!shape) shape.emplace(points_, closing_, closes);
    return *shape;
  }

  const std::vector<Point>& points_;
  Closing closing_;
  /// The one shape, or with kByProximity the open one; the closed one.
  std::optional<ShapeThresholds> open_or_only_;
  std::optional<ShapeThresholds> closed_;
  ShapeThresholds* found_in_ = nullptr;
};

uint64_t Bits(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double FromBits(uint64_t bits) {
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

/// The search with whole Fillet runs, for coordinates too large for the
/// thresholds: the bisection LargestFilletSize always made, or with an
/// infinite limit a bisection over the doubles themselves (64 halvings at
/// most, where halving [0, largest double] by value would take over 1000).
class RunSearch {
 public:
  RunSearch(const std::vector<Point>& points, Closing closing, double limit)
      : points_(points), closing_(closing), by_value_(std::isfinite(limit)) {}

  bool Draws(double size) const {
    return rrensen::Fillet(points_, {size, closing_}).result ==
           rrensen::Result::kDrawn;
  }

  std::optional<Found> Largest(double lo, double hi) const {
    if (!Draws(lo)) return std::nullopt;
    if (Draws(hi)) return Found{hi, hi};
    if (by_value_) {
      for (int k = 0; k < 80 && hi - lo > 1e-12; ++k) {
        double mid = lo + (hi - lo) / 2;
        (Draws(mid) ? lo : hi) = mid;
      }
    } else {
      // Doubles of one sign are ordered as their bit patterns.
      while (Bits(hi) - Bits(lo) > 1) {
        double mid = FromBits(Bits(lo) + (Bits(hi) - Bits(lo)) / 2);
        (Draws(mid) ? lo : hi) = mid;
      }
    }
    return Found{lo, lo};
  }

  static double Pin(const Found& found) { return found.at_least; }

 private:
  const std::vector<Point>& points_;
  Closing closing_;
  bool by_value_;
};

/// The search both kinds share: the largest size below `limit` that draws,
/// in the closed shape first with kByProximity, then rounded to
/// thousandths and stepped down until it draws.
template <typename Search>
std::optional<double> LargestTyped(Search& search,
                                   const std::vector<Point>& points,
                                   Closing closing, double limit) {
  const double top = std::nextafter(limit, 0.0);
  std::optional<Found> best;
  const double half = Distance(points.front(), points.back()) / 2;
  if (closing != Closing::kByProximity) {
    best = search.Largest(0.0, top);
  } else {
    // Above half the distance from the first point to the last the outline
    // is closed, at most half open.
    if (std::isfinite(half) && half < top) {
      best = search.Largest(std::nextafter(half, limit), top);
    }
    if (!best) best = search.Largest(0.0, std::fmin(half, top));
  }
  if (!best) return std::nullopt;
  // The largest double draws: only an outline with no corner, which every
  // size draws.
  if (std::isinf(limit) && best->at_least == top) return limit;
  const double typed_limit = limit - 0.001;
  auto thousandths_of = [typed_limit](double size) {
    return std::round(std::fmin(size, typed_limit) * 1000);
  };
  double thousandths = thousandths_of(best->at_least);
  if (thousandths != thousandths_of(best->at_most)) {
    const double largest = search.Pin(*best);
    best = Found{largest, largest};
    thousandths = thousandths_of(largest);
  }
  if (!(thousandths < 1e15)) return search.Pin(*best);
  constexpr int kMostSteps = 1000000;
  for (int step = 0; step < kMostSteps && thousandths >= 0; ++step) {
    double typed = thousandths / 1000;
    if (search.Draws(typed)) return typed;
    thousandths -= 1;
  }
  return std::nullopt;
}

}  // namespace
}  // namespace geometry

namespace rrensen {
inline namespace v1 {

std::optional<double> LargestFilletSize(const std::vector<Point>& points,
                                        const FilletOptions& options,
                                        double limit) {
  if (!geometry::HostRules(options)) {
    return geometry::LargestCornerStyleSize(points, options, limit);
  }
  if (points.empty() || !(limit > 0.0) || !geometry::KnownOptions(options)) {
    return std::nullopt;
  }
  bool modelled = true;
  for (const Point& p : points) {
    // A point that is not finite is refused at every size, in every shape:
    // closing by proximity needs a finite distance to the last point, and
    // kClosed drops the last point only when it equals the first.
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
    if (std::fabs(p.x) > geometry::kLargestModelledCoordinate ||
        std::fabs(p.y) > geometry::kLargestModelledCoordinate) {
      modelled = false;
    }
  }
  if (!modelled) {
    geometry::RunSearch search(points, options.closing, limit);
    return geometry::LargestTyped(search, points, options.closing, limit);
  }
  geometry::ThresholdSearch search(points, options.closing);
  return geometry::LargestTyped(search, points, options.closing, limit);
}

}  // namespace v1
}  // namespace rrensen
