#ifndef RRENSEN_GEOMETRY_LARGEST_SIZE_BY_BISECTION_H_
#define RRENSEN_GEOMETRY_LARGEST_SIZE_BY_BISECTION_H_

/// The largest-size search as it was before it became one pass over the
/// points: about a hundred whole Fillet runs (bisection, then rounding to
/// thousandths and stepping down until it draws). Kept, unchanged, as the
/// reference the tests compare LargestFilletSize with and the "before" of
/// its benchmark; the library does not use it. Its bisection halves at most
/// 80 times from [0, limit), so it needs a finite limit, and above a limit
/// of about 1e12 it can stop short of the largest size.

#include <cmath>
#include <optional>
#include <vector>

#include "geometry/fillet_rules.h"
#include "rrensen/fillet.h"

namespace geometry {
namespace by_bisection {

inline bool Draws(const std::vector<rrensen::Point>& points,
                  rrensen::Closing closing, double size) {
  return rrensen::Fillet(points, {size, closing}).result ==
         rrensen::Result::kDrawn;
}

/// The largest size in [lo, hi] that draws, for a predicate that holds on
/// [lo, t] and fails above t; none when it fails at lo.
inline std::optional<double> Bisect(const std::vector<rrensen::Point>& points,
                                    rrensen::Closing closing, double lo,
                                    double hi) {
  if (!Draws(points, closing, lo)) return std::nullopt;
  if (Draws(points, closing, hi)) return hi;
  for (int k = 0; k < 80 && hi - lo > 1e-12; ++k) {
    double mid = lo + (hi - lo) / 2;
    (Draws(points, closing, mid) ? lo : hi) = mid;
  }
  return lo;
}

inline std::optional<double> LargestFilletSize(
    const std::vector<rrensen::Point>& points,
    const rrensen::FilletOptions& options, double limit) {
  using rrensen::Closing;
  const Closing closing = options.closing;
  if (points.empty() || !(limit > 0.0)) return std::nullopt;
  double top = std::nextafter(limit, 0.0);
  std::optional<double> best;
  double half = Distance(points.front(), points.back()) / 2;
  if (closing != Closing::kByProximity) {
    best = Bisect(points, closing, 0.0, top);
  } else {
    if (std::isfinite(half) && half < top) {
      best = Bisect(points, closing, std::nextafter(half, limit), top);
    }
    if (!best) best = Bisect(points, closing, 0.0, std::fmin(half, top));
  }
  if (!best) return std::nullopt;
  double thousandths = std::round(std::fmin(*best, limit - 0.001) * 1000);
  if (!(thousandths < 1e15)) return best;
  constexpr int kMostSteps = 1000000;
  for (int step = 0; step < kMostSteps && thousandths >= 0; ++step) {
    double typed = thousandths / 1000;
    if (Draws(points, closing, typed)) return typed;
    thousandths -= 1;
  }
  return std::nullopt;
}

}  // namespace by_bisection
}  // namespace geometry

#endif  // RRENSEN_GEOMETRY_LARGEST_SIZE_BY_BISECTION_H_
