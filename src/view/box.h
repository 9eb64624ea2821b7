#ifndef RRENSEN_VIEW_BOX_H_
#define RRENSEN_VIEW_BOX_H_

#include <algorithm>
#include <cmath>
#include <limits>

namespace view {

/// The bounding box of what a picture draws, in drawing units; points that
/// are not finite are left out.
struct Box {
  double x0 = std::numeric_limits<double>::infinity(), y0 = x0;
  double x1 = -x0, y1 = -x0;
  void Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
  void AddCircle(double cx, double cy, double r) {
    Add(cx - r, cy - r);
    Add(cx + r, cy + r);
  }
  bool empty() const { return x0 > x1; }
};

}  // namespace view

#endif  // RRENSEN_VIEW_BOX_H_
