#include "rrensen/fillet.h"

#include <cmath>
#include <initializer_list>

#include "geometry/angles.h"
#include "geometry/corner_styles.h"
#include "geometry/fillet_rules.h"
#include "geometry/fillet_trace.h"
#include "geometry/trig.h"

namespace geometry {
namespace {

using rrensen::Closing;
using rrensen::Corner;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Problem;
using rrensen::Refusal;
using rrensen::Result;
using rrensen::Segment;
using trig::kPi;

bool Finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

/// The passes number the working points from 1, as the debug trace prints
/// them; this maps such a number back to the caller's index. In a closed
/// outline the last corner is the first point again and the point after it
/// a copy of the second.
class Numbering {
 public:
  Numbering(int count, bool closed) : count_(count), closed_(closed) {}
  int Caller(int working) const {
    if (closed_ && working == count_ - 1) return 0;
    if (closed_ && working == count_) return 1;
    return working - 1;
  }

 private:
  int count_;
  bool closed_;
};

Segment Line(const Point& from, const Point& to) {
  Segment s;
  s.start = from;
  s.end = to;
  return s;
}

/// The cut of corner `index`: its arc, or the chord between its tangent
/// points.
Segment Cut(const std::vector<Corner>& corners, int index) {
  const Corner& c = corners[static_cast<size_t>(index)];
  Segment s = Line(c.tangent_in, c.tangent_out);
  s.corner = index;
  if (c.is_arc) {
    s.is_arc = true;
    s.centre = c.centre;
    s.radius = c.radius;
    s.sweep = c.turn;
  }
  return s;
}

/// The public view of a corner that the corner pass computed, with its
/// tangent points and centre as measured along its sides.
Corner PublicCorner(int point, const CornerTrace& k, const Point& tangent_in,
                    const Point& tangent_out, const Point& centre) {
  Corner c;
  c.point = point;
  c.is_arc = k.is_arc;
  c.tangent_in = tangent_in;
  c.tangent_out = tangent_out;
  c.cut_back = k.cut_back;
  // The real turn is twice the half sweep. Its side: an arc's is the sign
  // of its signed radius, cut_back / tan(k0); a chord's that of k0 reduced
  // to (-90, 90] degrees, which tan(k0) shares.
  double magnitude = 2 * Radians(k.half_sweep_degrees);
  double side = k.signed_radius;
  if (!k.is_arc) {
    side = k.half_turn;
    if (side > kPi / 2) side -= kPi;
    if (side < -kPi / 2) side += kPi;
  }
  c.turn = std::copysign(magnitude, side);
  if (k.is_arc) {
    c.centre = centre;
    c.radius = k.radius;
  }
  return c;
}

/// The unit vector from `from` to `to`, `length` apart; (0, 0) for two
/// points that coincide (a side of size 0's outline, which no cut moves
/// along).
Point UnitVector(const Point& from, const Point& to, double length) {
  if (!(length > 0.0)) return {0.0, 0.0};
  return {(to.x - from.x) / length, (to.y - from.y) / length};
}

/// Sides and cuts in order along the outline from `first` to `last`
/// through `corners` (at least one). A closed outline starts with the side
/// between the last corner and the first, and ends with the last corner.
std::vector<Segment> Assemble(const Point& first, const Point& last,
                              bool closed, const std::vector<Corner>& c) {
  std::vector<Segment> segments;
  segments.reserve(2 * c.size() + 1);
  const size_t final_corner = c.size() - 1;
  segments.push_back(
      Line(closed ? c[final_corner].tangent_out : first, c.front().tangent_in));
  for (size_t k = 0; k < final_corner; ++k) {
    segments.push_back(Cut(c, static_cast<int>(k)));
    segments.push_back(Line(c[k].tangent_out, c[k + 1].tangent_in));
  }
  segments.push_back(Cut(c, static_cast<int>(final_corner)));
  if (!closed) segments.push_back(Line(c[final_corner].tangent_out, last));
  return segments;
}

}  // namespace

HostArc HostArcOf(const CornerTrace& c) {
  return {c.centre, c.radius, -c.half_sweep_degrees, c.half_sweep_degrees,
          c.tilt_degrees};
}

Outline FilletWithTrace(const std::vector<Point>& points,
                        const rrensen::FilletOptions& options,
                        FilletTrace* trace) {
  FilletTrace local;
  FilletTrace& t = trace != nullptr ? *trace : local;
  t = FilletTrace{};
  // The other corner styles, and chord arcs at selected corners, follow the
  // fit rule, and have no trace.
  if (!HostRules(options)) {
    return FilletCornerStyle(points, options);
  }
  Outline o;
  const double size = options.size;
  if (!(size >= 0.0) || !std::isfinite(size)) {
    return Refuse(o, Result::kInvalidSize, Refusal::kInvalidSize, -1);
  }
  if (!KnownOptions(options)) {
    return Refuse(o, Result::kInvalidSize, Refusal::kInvalidStyle, -1);
  }
  const double arc_threshold = ArcThreshold();

  std::vector<Point>& w = t.working_points;
  o.closed = WorkingPoints(points, options.closing,
                           ClosesByProximity(points, size), w);
  const int count = static_cast<int>(w.size());
  const Numbering number(count, o.closed);
  // Working point k (1-based, as the passes number them).
  auto P = [&w](int k) -> const Point& { return w[static_cast<size_t>(k - 1)]; };

  // No corner: two open points are one straight line; anything else (no
  // point, one point, an outline closed onto itself) draws nothing.
  if (count < 3) {
    if (o.closed || count != 2) {
      return Refuse(o, Result::kTooClose, Refusal::kNoCorner, -1);
    }
    if (!Finite({P(1).x, P(1).y, P(2).x, P(2).y})) {
      return Refuse(o, Result::kTooClose, Refusal::kNotFinite, 0);
    }
    o.segments.push_back(Line(P(1), P(2)));
    t.segments = o.segments;
    return o;
  }

  // A point that is inf or nan can give no record a reader could use.
  for (int k = 1; k <= count; ++k) {
    if (!Finite({P(k).x, P(k).y})) {
      return Refuse(o, Result::kTooClose, Refusal::kNotFinite,
                    number.Caller(k));
    }
  }

  // Spacing: every side but the first of an open outline must be at least
  // 2 x size long. In a closed outline that is every side, the one from the
  // first point to the second tested last.
  for (int i = 2; i <= count - 1; ++i) {
    double length = Distance(P(i), P(i + 1));
    if (trace != nullptr) t.side_lengths.push_back(length);
    if (SideNeeds(size) > length) {
      return Refuse(o, Result::kTooClose, Refusal::kShortSide, number.Caller(i),
                    number.Caller(i + 1), SideNeeds(size), length);
    }
  }

  // Corner pass. At a corner whose direction changes by 2 k0 the tangent
  // points lie cut = size / (2 |cos k0|) from the corner along each side, so
  // that they are `size` apart, and the arc through them has the signed
  // radius re = cut / tan k0: positive (centre to the left) for a left turn.
  // k0 is not reduced to a range; |cos| and tan are the same for the real
  // turn. `re` runs through the pass: a chord corner keeps the value of the
  // last arc corner (0 before the first), and each corner ends with |re|.
  double re = 0.0;
  o.corners.reserve(static_cast<size_t>(count));
  CornerMeasure m;
  for (int v = 2; v <= count - 1; ++v) {
    const Point& prev = P(v - 1);
    const Point& at = P(v);
    const Point& next = P(v + 1);
    m = v == 2 ? MeasureCorner(prev, at, next) : MeasureNextCorner(m, at, next);
    const double len_in = m.len_in;
    const double ang_in = m.ang_in;
    const double len_out = m.len_out;
    const double ang_out = m.ang_out;
    const int point = number.Caller(v);
    CornerTrace k;
    k.half_turn = m.half_turn;
    k.cos_half_turn = m.cos_half_turn;
    k.cut_back = CutBack(size, k.cos_half_turn);
    // Each side must hold one and a half cuts.
    if (CornerNeeds(k.cut_back) > len_in) {
      return Refuse(o, Result::kTooSharp, Refusal::kSharpCorner, point, -1,
                    CornerNeeds(k.cut_back), len_in);
    }
    if (CornerNeeds(k.cut_back) > len_out) {
      return Refuse(o, Result::kTooSharp, Refusal::kSharpCorner, point, -1,
                    CornerNeeds(k.cut_back), len_out);
    }
    k.is_arc = IsArc(k.cos_half_turn, arc_threshold);
    if (k.is_arc) {
      // tan(pi/2) has no value: a turn exactly back (size 0 lets the sides
      // pass) cannot be rounded.
      if (TurnsExactlyBack(k.half_turn)) {
        return Refuse(o, Result::kReversal, Refusal::kReversal, point);
      }
      re = k.cut_back / trig::Tan(k.half_turn);
    }
    k.signed_radius = re;
    // The host's tangent points and centre, through the sides' directions,
    // as its records have always had them; only a trace holds them, so the
    // trigonometry is spent only for one.
    if (trace != nullptr) {
      k.tangent_in = {prev.x + (len_in - k.cut_back) * trig::Cos(ang_in),
                      prev.y + (len_in - k.cut_back) * trig::Sin(ang_in)};
      k.tangent_out = {at.x + k.cut_back * trig::Cos(ang_out),
                       at.y + k.cut_back * trig::Sin(ang_out)};
      k.centre = {k.tangent_in.x - re * trig::Sin(ang_in),
                  k.tangent_in.y + re * trig::Cos(ang_in)};
      k.tilt_degrees =
          Degrees(trig::Atan2(at.y - k.centre.y, at.x - k.centre.x));
    }
    // Half the real turn: |k0| beyond 90 degrees turns by 180 - |k0|.
    k.half_sweep_degrees = std::fabs(Degrees(k.half_turn));
    while (k.half_sweep_degrees > 90) {
      k.half_sweep_degrees = std::fabs(k.half_sweep_degrees - 180);
    }
    // The public tangent points and centre, measured along the sides from
    // the corner point: a side parallel to an axis keeps its coordinate
    // there bit for bit.
    const Point unit_in = UnitVector(prev, at, len_in);
    const Point unit_out = UnitVector(at, next, len_out);
    const Point tangent_in = {at.x - k.cut_back * unit_in.x,
                              at.y - k.cut_back * unit_in.y};
    const Point tangent_out = {at.x + k.cut_back * unit_out.x,
                               at.y + k.cut_back * unit_out.y};
    const Point centre = {tangent_in.x - re * unit_in.y,
                          tangent_in.y + re * unit_in.x};
    re = std::fabs(re);
    k.radius = re;
    if (trace != nullptr) t.corners.push_back(k);
    // Coordinates whose differences overflow would put a value into a record
    // that no reader can use.
    if (!Finite({k.tangent_in.x, k.tangent_in.y, k.tangent_out.x,
                 k.tangent_out.y, k.centre.x, k.centre.y, k.radius,
                 k.half_sweep_degrees, k.tilt_degrees, tangent_in.x,
                 tangent_in.y, tangent_out.x, tangent_out.y, centre.x,
                 centre.y})) {
      return Refuse(o, Result::kTooClose, Refusal::kCornerNotFinite, point);
    }
    o.corners.push_back(PublicCorner(point, k, tangent_in, tangent_out, centre));
  }

  // Every side and corner passed: sides and cuts in order along the
  // outline, and the host's lines through its own tangent points.
  o.segments = Assemble(P(1), P(count), o.closed, o.corners);
  if (trace != nullptr) {
    std::vector<Corner> host = o.corners;
    for (size_t k = 0; k < host.size(); ++k) {
      host[k].tangent_in = t.corners[k].tangent_in;
      host[k].tangent_out = t.corners[k].tangent_out;
    }
    t.segments = Assemble(P(1), P(count), o.closed, host);
  }
  return o;
}

}  // namespace geometry

namespace rrensen {
inline namespace v1 {

Outline Fillet(const std::vector<Point>& points, const FilletOptions& options) {
  return geometry::FilletWithTrace(points, options, nullptr);
}

Outline FilletOutline(const std::vector<Point>& points, double fillet_size) {
  return Fillet(points, {fillet_size, Closing::kByProximity});
}

double Bulge(const Segment& segment) {
  if (!segment.is_arc) return 0.0;
  // A quarter of the sweep: the sweep is twice an angle in radians, so this
  // halves it exactly.
  double magnitude = trig::Tan(std::fabs(segment.sweep) / 4);
  return segment.sweep < 0.0 ? -magnitude : magnitude;
}

}  // namespace v1
}  // namespace rrensen
