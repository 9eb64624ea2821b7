#include "rrensen/fillet.h"

#include <cmath>
#include <initializer_list>

#include "geometry/angles.h"
#include "geometry/trig.h"

namespace rrensen {
namespace {

using geometry::Degrees;
using trig::kPi;

/// Distance between two points.
double Distance(const Point& a, const Point& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

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

/// Ends the outline as refused.
Outline& Refuse(Outline& o, int result, Refusal kind, int point,
                int next_point = -1, double needed = 0.0, double found = 0.0) {
  o.result = result;
  o.problem = Problem{kind, point, next_point, needed, found};
  return o;
}

Segment Line(const Point& from, const Point& to) {
  Segment s;
  s.start = from;
  s.end = to;
  return s;
}

/// The connector of corner `index`: its arc, or the chord between its
/// tangent points.
Segment Connector(const std::vector<Corner>& corners, int index) {
  const Corner& c = corners[static_cast<size_t>(index)];
  Segment s = Line(c.tangent_in, c.tangent_out);
  s.corner = index;
  if (c.is_arc) {
    s.is_arc = true;
    s.centre = c.centre;
    s.radius = c.radius;
  }
  return s;
}

}  // namespace

Outline FilletOutline(const std::vector<Point>& points, double fillet_size) {
  Outline o;
  const double size = fillet_size;
  const double arc_threshold = geometry::ArcThreshold();

  // Closing step: a last point nearer than 2 x size to the first closes the
  // outline; the last point becomes the first again and a copy of the second
  // follows it, so that the corner at the first point is rounded like the
  // others. With no point, the "first" and "last" are both absent and the
  // outline stays open and empty.
  std::vector<Point>& w = o.working_points;
  w = points;
  const int n = static_cast<int>(points.size());
  if (n >= 1 && Distance(points.front(), points.back()) < 2 * size) {
    o.closed = true;
    w.back() = points.front();
    // The second working point, after that: for two points it is the first
    // point again.
    w.push_back(n >= 2 ? w[1] : w[0]);
  }
  const int count = static_cast<int>(w.size());
  const Numbering number(count, o.closed);
  // Working point k (1-based, as the passes number them).
  auto P = [&w](int k) -> const Point& { return w[static_cast<size_t>(k - 1)]; };

  // No corner: two open points are one straight line; anything else (no
  // point, one point, an outline closed onto itself) draws nothing.
  if (count < 3) {
    if (o.closed || count != 2) {
      return Refuse(o, kTooClose, Refusal::kNoCorner, -1);
    }
    if (!Finite({P(1).x, P(1).y, P(2).x, P(2).y})) {
      return Refuse(o, kTooClose, Refusal::kNotFinite, 0);
    }
    o.segments.push_back(Line(P(1), P(2)));
    return o;
  }

  // A point that is inf or nan can give no record a reader could use.
  for (int k = 1; k <= count; ++k) {
    if (!Finite({P(k).x, P(k).y})) {
      return Refuse(o, kTooClose, Refusal::kNotFinite, number.Caller(k));
    }
  }

  // Spacing: every side but the first of an open outline must be at least
  // 2 x size long. In a closed outline that is every side, the one from the
  // first point to the second tested last.
  for (int i = 2; i <= count - 1; ++i) {
    double length = Distance(P(i), P(i + 1));
    o.sides.push_back(Side{number.Caller(i), number.Caller(i + 1), length});
    if (2 * size > length) {
      return Refuse(o, kTooClose, Refusal::kShortSide, number.Caller(i),
                    number.Caller(i + 1), 2 * size, length);
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
  for (int v = 2; v <= count - 1; ++v) {
    const Point& prev = P(v - 1);
    const Point& at = P(v);
    const Point& next = P(v + 1);
    double len_in = Distance(prev, at);
    double ang_in = trig::Atan2(at.y - prev.y, at.x - prev.x);
    double len_out = Distance(at, next);
    double ang_out = trig::Atan2(next.y - at.y, next.x - at.x);
    Corner k;
    k.point = number.Caller(v);
    k.half_turn = (ang_out - ang_in) * 0.5;
    k.cos_half_turn = std::fabs(trig::Cos(k.half_turn));
    k.cut_back = size * 0.5 / k.cos_half_turn;
    // Each side must hold one and a half cuts.
    if (1.5 * k.cut_back > len_in) {
      return Refuse(o, kTooSharp, Refusal::kSharpCorner, k.point, -1,
                    1.5 * k.cut_back, len_in);
    }
    if (1.5 * k.cut_back > len_out) {
      return Refuse(o, kTooSharp, Refusal::kSharpCorner, k.point, -1,
                    1.5 * k.cut_back, len_out);
    }
    k.is_arc = k.cos_half_turn < arc_threshold;
    if (k.is_arc) {
      // tan(pi/2) has no value: a turn exactly back (size 0 lets the sides
      // pass) cannot be rounded.
      if (k.half_turn == 0.5 * kPi) {
        return Refuse(o, kReversal, Refusal::kReversal, k.point);
      }
      re = k.cut_back / trig::Tan(k.half_turn);
    }
    k.signed_radius = re;
    k.tangent_in = {prev.x + (len_in - k.cut_back) * trig::Cos(ang_in),
                    prev.y + (len_in - k.cut_back) * trig::Sin(ang_in)};
    k.tangent_out = {at.x + k.cut_back * trig::Cos(ang_out),
                     at.y + k.cut_back * trig::Sin(ang_out)};
    k.centre = {k.tangent_in.x - re * trig::Sin(ang_in),
                k.tangent_in.y + re * trig::Cos(ang_in)};
    k.tilt = Degrees(trig::Atan2(at.y - k.centre.y, at.x - k.centre.x));
    // Half the real turn: |k0| beyond 90 degrees turns by 180 - |k0|.
    k.half_sweep = std::fabs(Degrees(k.half_turn));
    while (k.half_sweep > 90) k.half_sweep = std::fabs(k.half_sweep - 180);
    re = std::fabs(re);
    k.radius = re;
    o.corners.push_back(k);
    // Coordinates whose differences overflow would put a value into a record
    // that no reader can use.
    if (!Finite({k.tangent_in.x, k.tangent_in.y, k.tangent_out.x,
                 k.tangent_out.y, k.centre.x, k.centre.y, k.radius,
                 k.half_sweep, k.tilt})) {
      return Refuse(o, kTooClose, Refusal::kCornerNotFinite, k.point);
    }
  }

  // Every side and corner passed: sides and connectors in order along the
  // outline. A closed outline starts with the side from its first point,
  // between the last corner and the first, and ends with the last corner.
  const std::vector<Corner>& c = o.corners;
  const int last = static_cast<int>(c.size()) - 1;
  if (o.closed) {
    o.segments.push_back(Line(c[static_cast<size_t>(last)].tangent_out,
                              c.front().tangent_in));
  } else {
    o.segments.push_back(Line(P(1), c.front().tangent_in));
  }
  for (int k = 0; k < last; ++k) {
    o.segments.push_back(Connector(c, k));
    o.segments.push_back(Line(c[static_cast<size_t>(k)].tangent_out,
                              c[static_cast<size_t>(k) + 1].tangent_in));
  }
  o.segments.push_back(Connector(c, last));
  if (!o.closed) {
    o.segments.push_back(
        Line(c[static_cast<size_t>(last)].tangent_out, P(count)));
  }
  return o;
}

namespace {

bool Draws(const std::vector<Point>& points, double size) {
  return FilletOutline(points, size).result == kDrawn;
}

/// The largest size in [lo, hi] that draws, for a predicate that holds on
/// [lo, t] and fails above t; none when it fails at lo.
std::optional<double> Bisect(const std::vector<Point>& points, double lo,
                             double hi) {
  if (!Draws(points, lo)) return std::nullopt;
  if (Draws(points, hi)) return hi;
  for (int k = 0; k < 80 && hi - lo > 1e-12; ++k) {
    double mid = lo + (hi - lo) / 2;
    (Draws(points, mid) ? lo : hi) = mid;
  }
  return lo;
}

}  // namespace

std::optional<double> LargestFilletSize(const std::vector<Point>& points,
                                        double limit) {
  if (points.empty() || !(limit > 0.0)) return std::nullopt;
  // The outline closes when the size exceeds half the distance d from the
  // first point to the last. For either shape every test is of the form
  // size x factor <= length, so a smaller size never fails where a larger
  // one passes: bisect each range on its own and take the larger result.
  double half = Distance(points.front(), points.back()) / 2;
  double top = std::nextafter(limit, 0.0);
  std::optional<double> best;
  if (std::isfinite(half) && half < top) {
    best = Bisect(points, std::nextafter(half, limit), top);
  }
  if (!best) best = Bisect(points, 0.0, std::fmin(half, top));
  if (!best) return std::nullopt;
  // To whole thousandths, which can be typed: the nearest one (the search
  // ends a hair below a limit such as 4 exactly), below the limit, then a
  // thousandth down at a time until the value draws. Sizes too large to
  // count in thousandths are returned as found.
  double thousandths = std::round(std::fmin(*best, limit - 0.001) * 1000);
  if (!(thousandths < 1e15)) return best;
  constexpr int kMostSteps = 1000000;
  for (int step = 0; step < kMostSteps && thousandths >= 0; ++step) {
    double typed = thousandths / 1000;
    if (Draws(points, typed)) return typed;
    thousandths -= 1;
  }
  return std::nullopt;
}

}  // namespace rrensen
