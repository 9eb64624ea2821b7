#include "dxf/nesting.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "geometry/trig.h"

namespace dxf {
namespace {

using rrensen::BulgeVertex;
using rrensen::Point;

/// An outline as a polygon, with its bounding box.
struct Polygon {
  std::vector<Point> points;
  Point low;
  Point high;
};

/// The polygon of `outline`: each vertex, and along each arc points no
/// more than kArcStep apart in angle. The arc from a to b with bulge k
/// sweeps 4 atan(k), counter-clockwise for k > 0, about the centre
/// (1 - k^2) / (4 k) times the chord turned left from the chord's middle.
Polygon PolygonOf(const std::vector<BulgeVertex>& outline) {
  constexpr double kArcStep = trig::kPi / 16;
  Polygon polygon;
  const size_t n = outline.size();
  polygon.points.reserve(2 * n);
  for (size_t i = 0; i < n; ++i) {
    const Point& a = outline[i].point;
    polygon.points.push_back(a);
    const double bulge = outline[i].bulge;
    if (bulge == 0.0 || !std::isfinite(bulge)) continue;
    const Point& b = outline[(i + 1) % n].point;
    const double offset = (1 - bulge * bulge) / (4 * bulge);
    const Point centre = {(a.x + b.x) / 2 - offset * (b.y - a.y),
                          (a.y + b.y) / 2 + offset * (b.x - a.x)};
    const double sweep = 4 * trig::Atan2(bulge, 1.0);
    const double start = trig::Atan2(a.y - centre.y, a.x - centre.x);
    const double radius = std::hypot(a.x - centre.x, a.y - centre.y);
    const int steps = static_cast<int>(std::ceil(std::fabs(sweep) / kArcStep));
    for (int k = 1; k < steps; ++k) {
      const double angle = start + sweep * k / steps;
      polygon.points.push_back({centre.x + radius * trig::Cos(angle),
                                centre.y + radius * trig::Sin(angle)});
    }
  }
  polygon.low = polygon.high = polygon.points.empty() ? Point{} : polygon.points[0];
  for (const Point& p : polygon.points) {
    polygon.low = {std::min(polygon.low.x, p.x), std::min(polygon.low.y, p.y)};
    polygon.high = {std::max(polygon.high.x, p.x), std::max(polygon.high.y, p.y)};
  }
  return polygon;
}

/// Whether `p` is inside `polygon` by the even-odd rule: a ray from it to
/// the right crosses its sides an odd number of times.
bool Inside(const Point& p, const Polygon& polygon) {
  if (p.x < polygon.low.x || p.x > polygon.high.x || p.y < polygon.low.y ||
      p.y > polygon.high.y) {
    return false;
  }
  bool inside = false;
  const std::vector<Point>& q = polygon.points;
  for (size_t i = 0, j = q.size() - 1; i < q.size(); j = i++) {
    if ((q[i].y > p.y) != (q[j].y > p.y) &&
        p.x < q[j].x + (p.y - q[j].y) * (q[i].x - q[j].x) / (q[i].y - q[j].y)) {
      inside = !inside;
    }
  }
  return inside;
}

}  // namespace

std::vector<bool> Holes(const std::vector<std::vector<BulgeVertex>>& outlines) {
  std::vector<Polygon> polygons;
  polygons.reserve(outlines.size());
  for (const std::vector<BulgeVertex>& outline : outlines) {
    polygons.push_back(PolygonOf(outline));
  }
  // Polygons in order of their left edge: those that may hold a point are
  // the ones that start at or left of it.
  std::vector<size_t> by_left(polygons.size());
  for (size_t k = 0; k < by_left.size(); ++k) by_left[k] = k;
  std::sort(by_left.begin(), by_left.end(), [&](size_t a, size_t b) {
    return polygons[a].low.x < polygons[b].low.x;
  });
  std::vector<bool> holes(outlines.size(), false);
  for (size_t k = 0; k < outlines.size(); ++k) {
    if (outlines[k].empty()) continue;
    const Point& p = outlines[k].front().point;
    int around = 0;
    for (size_t other : by_left) {
      if (polygons[other].low.x > p.x) break;
      if (other != k && !polygons[other].points.empty() &&
          Inside(p, polygons[other])) {
        ++around;
      }
    }
    holes[k] = around % 2 == 1;
  }
  return holes;
}

}  // namespace dxf
