#ifndef RRENSEN_GEOMETRY_TEST_GEOMETRY_H_
#define RRENSEN_GEOMETRY_TEST_GEOMETRY_H_

/// What the geometry tests share: plain-maths measures of points, written
/// with the C library and not with the code under test.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "rrensen/fillet.h"

namespace test_geometry {

using rrensen::Point;

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kInf = std::numeric_limits<double>::infinity();

inline double Dist(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

/// Twice the signed area of o, u, w: positive when w lies left of o -> u.
inline double Cross(Point o, Point u, Point w) {
  return (u.x - o.x) * (w.y - o.y) - (u.y - o.y) * (w.x - o.x);
}

/// The signed turn at p from a -> p to p -> q.
inline double TurnAt(Point a, Point p, Point q) {
  return std::atan2(Cross(a, p, q),
                    (p.x - a.x) * (q.x - p.x) + (p.y - a.y) * (q.y - p.y));
}

/// The corners of the closed ring `points` whose turn passes `keep`.
template <typename Keep>
std::set<int> CornersWhere(const std::vector<Point>& points, Keep keep) {
  std::set<int> chosen;
  const size_t n = points.size();
  for (size_t k = 0; k < n; ++k) {
    if (keep(TurnAt(points[(k + n - 1) % n], points[k], points[(k + 1) % n]))) {
      chosen.insert(static_cast<int>(k));
    }
  }
  return chosen;
}

/// A star-shaped ring of `n` points about the origin, counter-clockwise:
/// radii from `inner` to 500 give it convex and concave corners of every angle.
inline std::vector<Point> Star(std::mt19937& rng, int n, double inner = 200) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Point> points;
  for (int k = 0; k < n; ++k) {
    const double a = 2 * kPi * (k + 0.8 * unit(rng)) / n;
    const double r = inner + (500 - inner) * unit(rng);
    points.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return points;
}

inline uint64_t Bits(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

/// The same double to the last bit (-0 is not 0).
inline bool SameBits(double a, double b) { return Bits(a) == Bits(b); }

}  // namespace test_geometry

#endif  // RRENSEN_GEOMETRY_TEST_GEOMETRY_H_
