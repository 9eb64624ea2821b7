#include <cmath>

#include "geometry/corner_styles.h"
#include "rrensen/fillet.h"

namespace rrensen {
inline namespace v1 {
namespace {

double Distance(const Point& a, const Point& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

bool Draws(const std::vector<Point>& points, Closing closing, double size) {
  return Fillet(points, {size, closing}).result == Result::kDrawn;
}

/// The largest size in [lo, hi] that draws, for a predicate that holds on
/// [lo, t] and fails above t; none when it fails at lo.
std::optional<double> Bisect(const std::vector<Point>& points,
                             Closing closing, double lo, double hi) {
  if (!Draws(points, closing, lo)) return std::nullopt;
  if (Draws(points, closing, hi)) return hi;
  for (int k = 0; k < 80 && hi - lo > 1e-12; ++k) {
    double mid = lo + (hi - lo) / 2;
    (Draws(points, closing, mid) ? lo : hi) = mid;
  }
  return lo;
}

}  // namespace

std::optional<double> LargestFilletSize(const std::vector<Point>& points,
                                        const FilletOptions& options,
                                        double limit) {
  if (options.style != CornerStyle::kChordArc) {
    return geometry::LargestCornerStyleSize(points, options, limit);
  }
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

}  // namespace v1
}  // namespace rrensen
