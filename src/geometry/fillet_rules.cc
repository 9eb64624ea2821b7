#include "geometry/fillet_rules.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "geometry/trig.h"

namespace geometry {

using rrensen::Closing;
using rrensen::Point;

double TurnBetween(const Point& in, const Point& out) {
  const double cross = in.x * out.y - in.y * out.x;
  const double dot = in.x * out.x + in.y * out.y;
  return trig::Atan2(cross, dot);
}

double Distance(const Point& a, const Point& b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  const double larger = std::max(std::fabs(dx), std::fabs(dy));
  if (larger == 0.0 || !std::isfinite(larger)) return larger;
  int exponent = 0;
  (void)std::frexp(larger, &exponent);
  if (exponent > -500 && exponent < 500) return std::sqrt(dx * dx + dy * dy);
  const double sx = std::ldexp(dx, -exponent);
  const double sy = std::ldexp(dy, -exponent);
  return std::ldexp(std::sqrt(sx * sx + sy * sy), exponent);
}

bool ClosesByProximity(const Point& first, const Point& last, double size) {
  return Distance(first, last) < SideNeeds(size);
}

bool ClosesByProximity(const std::vector<Point>& points, double size) {
  return !points.empty() &&
         ClosesByProximity(points.front(), points.back(), size);
}

bool KnownOptions(const rrensen::FilletOptions& options) {
  const bool style = options.style == rrensen::CornerStyle::kRadiusArc ||
                     options.style == rrensen::CornerStyle::kDistanceChamfer ||
                     options.style == rrensen::CornerStyle::kChordChamfer ||
                     options.style == rrensen::CornerStyle::kChordArc ||
                     options.style == rrensen::CornerStyle::kDogbone ||
                     options.style == rrensen::CornerStyle::kTBone;
  const bool relief = (options.tool_side == rrensen::ToolSide::kOutside ||
                       options.tool_side == rrensen::ToolSide::kInside) &&
                      options.relief_max_angle > 0.0 &&
                      options.relief_max_angle <= trig::kPi &&
                      (options.tbone_side == rrensen::TBoneSide::kLonger ||
                       options.tbone_side == rrensen::TBoneSide::kShorter ||
                       options.tbone_side == rrensen::TBoneSide::kFirst ||
                       options.tbone_side == rrensen::TBoneSide::kSecond);
  const bool corners = options.corners == rrensen::CornerSelection::kAll ||
                       options.corners == rrensen::CornerSelection::kConvex ||
                       options.corners == rrensen::CornerSelection::kConcave;
  const bool winding = options.winding == rrensen::Winding::kOfTheOutline ||
                       options.winding == rrensen::Winding::kCounterClockwise ||
                       options.winding == rrensen::Winding::kClockwise;
  return style && corners && winding && relief;
}

rrensen::Outline& Refuse(rrensen::Outline& outline, rrensen::Result result,
                         rrensen::Refusal kind, int point, int next_point,
                         double needed, double found) {
  outline.result = result;
  outline.problem = rrensen::Problem{kind, point, next_point, needed, found};
  outline.corners.clear();
  outline.segments.clear();
  outline.corners_unselected = 0;
  return outline;
}

WorkingShape ShapeOf(const std::vector<Point>& points, Closing closing,
                     bool closes_by_proximity) {
  WorkingShape shape;
  shape.kept = points.size();
  auto append = [&shape](const Point& p) {
    shape.tail[shape.tail_count++] = p;
  };
  switch (closing) {
    case Closing::kByProximity:
      // The host's rule: the last point is taken as the first again.
      shape.closed = closes_by_proximity && !points.empty();
      if (shape.closed) {
        --shape.kept;
        append(points.front());
      }
      break;
    case Closing::kOpen: break;
    case Closing::kClosed:
      // The first point once more at the end, unless it is there already.
      // A single point has no side to close: it stays alone, and is refused
      // as having no corner.
      if (shape.kept >= 2 && SamePoint(points.front(), points.back())) {
        --shape.kept;
      }
      shape.closed = true;
      if (shape.kept < 2) return shape;
      append(points.front());
      break;
  }
  // The second working point, after the repeated first: for a single point
  // it is the first again.
  if (shape.closed && shape.size() > 0) {
    append(shape.At(points, shape.size() >= 2 ? 1 : 0));
  }
  return shape;
}

bool WorkingPoints(const std::vector<Point>& points, Closing closing,
                   bool closes_by_proximity, std::vector<Point>& w) {
  const WorkingShape shape = ShapeOf(points, closing, closes_by_proximity);
  w.clear();
  w.reserve(shape.size());
  w.insert(w.end(), points.begin(),
           points.begin() + static_cast<std::ptrdiff_t>(shape.kept));
  w.insert(w.end(), shape.tail.begin(),
           shape.tail.begin() + static_cast<std::ptrdiff_t>(shape.tail_count));
  return shape.closed;
}

namespace {

/// `m` with its outgoing side, from `at` to `next`, and its turn measured.
CornerMeasure WithOutgoingSide(CornerMeasure m, const Point& at,
                               const Point& next) {
  m.len_out = Distance(at, next);
  m.ang_out = trig::Atan2(next.y - at.y, next.x - at.x);
  m.half_turn = (m.ang_out - m.ang_in) * 0.5;
  m.cos_half_turn = std::fabs(trig::Cos(m.half_turn));
  return m;
}

}  // namespace

CornerMeasure MeasureCorner(const Point& prev, const Point& at,
                            const Point& next) {
  CornerMeasure m;
  m.len_in = Distance(prev, at);
  m.ang_in = trig::Atan2(at.y - prev.y, at.x - prev.x);
  return WithOutgoingSide(m, at, next);
}

CornerMeasure MeasureNextCorner(const CornerMeasure& previous, const Point& at,
                                const Point& next) {
  CornerMeasure m;
  m.len_in = previous.len_out;
  m.ang_in = previous.ang_out;
  return WithOutgoingSide(m, at, next);
}

}  // namespace geometry
