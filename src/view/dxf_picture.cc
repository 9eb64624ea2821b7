#include "dxf_picture.h"

#include <algorithm>
#include <cmath>

#include "box.h"
#include "view/picture_dxf.h"

namespace view {
namespace {

/// The larger of the drawing's width and height, for sizes that must suit
/// its scale (labels, the mark of a refused corner).
double Span(const Preview& p) {
  Box box;
  for (const rrensen::Point& q : p.points) box.Add(q.x, q.y);
  for (const Drawing::Line& l : p.records.lines) {
    box.Add(l.x1, l.y1);
    box.Add(l.x2, l.y2);
  }
  for (const Drawing::Arc& a : p.records.arcs) box.AddCircle(a.cx, a.cy, a.r);
  for (const Drawing::Circle& c : p.records.circles) {
    box.AddCircle(c.cx, c.cy, c.r);
  }
  double span = std::max(box.x1 - box.x0, box.y1 - box.y0);
  return !box.empty() && span > 0 ? span : 100.0;
}

}  // namespace

std::string PictureDxf(const Preview& p) {
  const double span = Span(p);
  view::DxfPicture picture;
  picture.label_height = 0.03 * span;
  for (size_t k = 0; k < p.points.size(); ++k) {
    const rrensen::Point& q = p.points[k];
    if (std::isfinite(q.x) && std::isfinite(q.y)) {
      picture.points.push_back({q, std::to_string(k + 1)});
    }
  }
  for (const Drawing::Line& l : p.records.lines) {
    picture.lines.push_back({{l.x1, l.y1}, {l.x2, l.y2}, view::kRecordsLayer});
  }
  for (const Drawing::Arc& a : p.records.arcs) {
    picture.arcs.push_back({{a.cx, a.cy}, a.r, a.tilt + a.start, a.tilt + a.end,
                            view::kRecordsLayer});
  }
  for (const Drawing::Circle& c : p.records.circles) {
    picture.arcs.push_back({{c.cx, c.cy}, c.r, 0.0, 360.0, view::kRecordsLayer});
  }
  if (p.has_points() && p.result() == 0) {
    view::AddOutline(picture, p.outline, view::kOutlineLayer);
  } else if (p.has_points() && p.within_limits) {
    const rrensen::Problem& problem = p.outline.problem;
    auto at = [&p](int index) -> const rrensen::Point* {
      return index >= 0 && static_cast<size_t>(index) < p.points.size()
                 ? &p.points[static_cast<size_t>(index)]
                 : nullptr;
    };
    const rrensen::Point* a = at(problem.point);
    const rrensen::Point* b = at(problem.next_point);
    if (problem.kind == rrensen::Refusal::kShortSide && a && b) {
      picture.lines.push_back({*a, *b, view::kRefusedLayer});
    } else if (a && std::isfinite(a->x) && std::isfinite(a->y)) {
      picture.arcs.push_back({*a, 0.04 * span, 0.0, 360.0, view::kRefusedLayer});
    }
  }
  return view::DrawingDxf(picture);
}

}  // namespace view
