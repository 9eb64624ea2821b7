#include "geometry/corner_styles.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "geometry/angles.h"
#include "geometry/fillet_rules.h"
#include "geometry/trig.h"

namespace geometry {
namespace {

using rrensen::Closing;
using rrensen::Corner;
using rrensen::CornerSelection;
using rrensen::CornerStyle;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Problem;
using rrensen::Refusal;
using rrensen::Result;
using rrensen::Segment;
using rrensen::Winding;
using rrensen::kTurnTolerance;
using trig::kPi;

/// One side of the outline, from vertex `from` to the next vertex.
struct Side {
  double length = 0.0;
  /// The unit vector from its first point to its last.
  Point unit;
  /// The sum of the cut-backs per unit size of the cuts at its two ends
  /// (0 for an open end or a straight corner). At size s the side holds
  /// its cuts when s * per_unit <= length, computed so.
  double per_unit = 0.0;
};

/// What the fit rule needs of an outline, none of which depends on the
/// size: its points in outline order, its sides, and each corner's turn
/// and cut-back per unit size. Or why no size draws it.
struct Shape {
  bool closed = false;
  /// The points in order, and their indices into the caller's points. A
  /// closed outline's vertices do not repeat the first point; its side
  /// n - 1 runs from the last vertex back to the first.
  std::vector<Point> at;
  std::vector<int> index;
  /// Side j runs from vertex j to vertex j + 1 (mod n when closed).
  std::vector<Side> sides;
  /// For each vertex: whether it is cut (a corner turning by at least
  /// kTurnTolerance, selected; never an open end), its signed turn, and its
  /// cut-backs per unit size on its incoming and outgoing sides (0 when
  /// not cut; they differ for a T-bone only), and for a T-bone whether its
  /// centre is on the incoming side.
  std::vector<bool> cut;
  std::vector<double> turn;
  std::vector<double> per_unit_in;
  std::vector<double> per_unit_out;
  std::vector<bool> centre_on_incoming;
  /// kDrawn, or the refusal that holds at every size.
  Result result = Result::kDrawn;
  Problem problem;
  /// The corners the selection left sharp.
  int unselected = 0;
};

Shape& RefuseShape(Shape& shape, Result result, Refusal kind, int point,
              int next_point = -1) {
  shape.result = result;
  shape.problem = Problem{kind, point, next_point, 0.0, 0.0};
  return shape;
}

/// Whether a relief style cuts a corner turning by `turn`: the cutter runs
/// on the side the corner turns towards (where the two sides make the
/// angle pi - |turn|, below pi), and that angle is at most the options'
/// largest. `region_side` as RegionSide gives it, not 0.
bool NeedsRelief(const rrensen::FilletOptions& options, int region_side,
                 double turn) {
  const int cutter_side = options.tool_side == rrensen::ToolSide::kOutside
                              ? -region_side
                              : region_side;
  return (turn > 0.0) == (cutter_side > 0) &&
         kPi - std::fabs(turn) <= options.relief_max_angle;
}

/// +1 for a region on the left of the points in order, -1 on the right, 0
/// for none: as `winding` says, or by the sign of the area a closed
/// outline encloses (twice it, by the shoelace formula, about the first
/// point so that far-off coordinates lose no digits to the sum).
int RegionSide(const std::vector<Point>& at, bool closed, Winding winding) {
  if (winding == Winding::kCounterClockwise) return 1;
  if (winding == Winding::kClockwise) return -1;
  if (!closed || at.size() < 3) return 0;
  double twice_area = 0.0;
  const Point& o = at.front();
  for (size_t k = 1; k + 1 < at.size(); ++k) {
    twice_area += (at[k].x - o.x) * (at[k + 1].y - o.y) -
                  (at[k + 1].x - o.x) * (at[k].y - o.y);
  }
  return twice_area > 0.0 ? 1 : twice_area < 0.0 ? -1 : 0;
}

/// Whether a corner turning by `turn` is cut, the region on side
/// `region_side` (RegionSide).
bool Selected(CornerSelection corners, int region_side, double turn) {
  if (corners == CornerSelection::kAll || region_side == 0) return true;
  const bool convex = (turn > 0.0) == (region_side > 0);
  return corners == CornerSelection::kConvex ? convex : !convex;
}

/// The size-free part of the fit rule for `points` closed or not: every
/// refusal but the fit itself. Checks in the order the header states.
Shape Analyse(const std::vector<Point>& points, bool closed,
              const rrensen::FilletOptions& options) {
  const Closing closing = options.closing;
  const CornerStyle style = options.style;
  Shape shape;
  shape.closed = closed;
  size_t count = points.size();
  if (closed) {
    // The last point closes the outline: by proximity it is taken as the
    // first, and a closed outline's last point equal to its first is the
    // first once more; either way it is not a vertex of its own.
    if (count >= 1 && (closing == Closing::kByProximity ||
                       (count >= 2 && SamePoint(points.front(), points.back())))) {
      --count;
    }
  }
  shape.at.assign(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(count));
  shape.index.resize(count);
  for (size_t k = 0; k < count; ++k) shape.index[k] = static_cast<int>(k);
  // Too few points: an open outline needs a side, a closed one two
  // distinct vertices (two give two reversals, refused below).
  if (count < 2) {
    return RefuseShape(shape, Result::kTooClose, Refusal::kNoCorner, -1);
  }
  for (size_t k = 0; k < count; ++k) {
    if (!std::isfinite(shape.at[k].x) || !std::isfinite(shape.at[k].y)) {
      return RefuseShape(shape, Result::kTooClose, Refusal::kNotFinite,
                    shape.index[k]);
    }
  }
  const size_t n = count;
  const size_t side_count = closed ? n : n - 1;
  shape.sides.resize(side_count);
  shape.cut.assign(n, false);
  shape.turn.assign(n, 0.0);
  shape.per_unit_in.assign(n, 0.0);
  shape.per_unit_out.assign(n, 0.0);
  shape.centre_on_incoming.assign(n, false);
  // Outline order: an open outline's sides 0 .. n-2 and corners 1 .. n-2; a
  // closed one's sides 1 .. n-1 then 0, and corners 1 .. n-1 then 0.
  auto side_in_order = [&](size_t k) { return closed ? (k + 1) % n : k; };
  for (size_t k = 0; k < side_count; ++k) {
    const size_t j = side_in_order(k);
    const Point& a = shape.at[j];
    const Point& b = shape.at[(j + 1) % n];
    Side& side = shape.sides[j];
    side.length = Distance(a, b);
    // Two points of an open outline are one line, whatever its length, as
    // for kChordArc: no corner needs its direction.
    if (side.length == 0.0 && side_count > 1) {
      return RefuseShape(shape, Result::kTooClose, Refusal::kCoincidentPoints,
                    shape.index[j], shape.index[(j + 1) % n]);
    }
    // An infinite length gives a unit vector of zeros or nans: the turns at
    // its ends come out nan and are refused there.
    side.unit = {(b.x - a.x) / side.length, (b.y - a.y) / side.length};
    if (!std::isfinite(side.length)) side.unit = {std::nan(""), std::nan("")};
  }
  const size_t corner_count = closed ? n : n - 2;
  const int region_side = RegionSide(shape.at, closed, options.winding);
  if (IsRelief(style) && region_side == 0) {
    return RefuseShape(shape, Result::kInvalidSize, Refusal::kNoToolSide, -1);
  }
  for (size_t k = 0; k < corner_count; ++k) {
    const size_t v = (k + 1) % n;
    const size_t side_in = (v + side_count - 1) % side_count;
    const double turn = TurnBetween(shape.sides[side_in].unit,
                                    shape.sides[v % side_count].unit);
    if (!std::isfinite(turn)) {
      return RefuseShape(shape, Result::kTooClose, Refusal::kCornerNotFinite,
                    shape.index[v]);
    }
    if (std::fabs(turn) > kPi - kTurnTolerance) {
      return RefuseShape(shape, Result::kReversal, Refusal::kReversal,
                    shape.index[v]);
    }
    shape.turn[v] = turn;
    if (std::fabs(turn) < kTurnTolerance) continue;  // passed straight
    if (!Selected(options.corners, region_side, turn) ||
        (IsRelief(style) && !NeedsRelief(options, region_side, turn))) {
      ++shape.unselected;
      continue;
    }
    shape.cut[v] = true;
    if (style == CornerStyle::kTBone) {
      // The centre on one side, r from the corner: the circle leaves that
      // side d from the corner, and meets the other side at the corner
      // point, or for a turn beyond a right angle d |cos t| beyond it.
      const double in = shape.sides[side_in].length;
      const double out = shape.sides[v % side_count].length;
      bool on_incoming = true;
      switch (options.tbone_side) {
        case rrensen::TBoneSide::kLonger: on_incoming = in >= out; break;
        case rrensen::TBoneSide::kShorter: on_incoming = in <= out; break;
        case rrensen::TBoneSide::kFirst: on_incoming = true; break;
        case rrensen::TBoneSide::kSecond: on_incoming = false; break;
      }
      const double other = std::max(0.0, -trig::Cos(turn));
      shape.centre_on_incoming[v] = on_incoming;
      shape.per_unit_in[v] = on_incoming ? 1.0 : other;
      shape.per_unit_out[v] = on_incoming ? other : 1.0;
    } else {
      shape.per_unit_in[v] = CutBackPerUnitSize(style, turn);
      shape.per_unit_out[v] = shape.per_unit_in[v];
    }
  }
  for (size_t j = 0; j < side_count; ++j) {
    shape.sides[j].per_unit =
        shape.per_unit_out[j] + shape.per_unit_in[(j + 1) % n];
  }
  return shape;
}

/// The shape Fillet draws for `options`: the closing decided, the
/// size-free rules checked.
Shape ShapeFor(const std::vector<Point>& points,
               const rrensen::FilletOptions& options) {
  bool closed = false;
  switch (options.closing) {
    case Closing::kByProximity:
      closed = ClosesByProximity(points, options.size);
      break;
    case Closing::kOpen: break;
    case Closing::kClosed: closed = true; break;
  }
  return Analyse(points, closed, options);
}

Segment Line(const Point& from, const Point& to) {
  Segment s;
  s.start = from;
  s.end = to;
  return s;
}

bool Finite(const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

/// Draws a shape that no size-free rule refused, at `size`: the fit of
/// every side, then the cuts.
Outline Draw(const Shape& shape, double size, CornerStyle style) {
  Outline o;
  o.closed = shape.closed;
  o.corners_unselected = shape.unselected;
  const size_t n = shape.at.size();
  const size_t side_count = shape.sides.size();
  // The fit, side by side in outline order.
  for (size_t k = 0; k < side_count; ++k) {
    const size_t j = shape.closed ? (k + 1) % n : k;
    const Side& side = shape.sides[j];
    const double needed = size * side.per_unit;  // 0 for a side never cut
    if (!(needed <= side.length)) {
      return Refuse(o, Result::kTooClose, Refusal::kShortSide, shape.index[j],
                    shape.index[(j + 1) % n], needed, side.length);
    }
  }
  // Where each side's line starts and ends: at its end points, moved along
  // the side by the cut-back of a cut there. A side used up exactly
  // (size * per_unit == length) draws no line, and its two ends are made
  // one point, so that the cuts meet without a gap: an end point that is
  // not cut is kept as it is, otherwise the end of the first cut is used.
  // So is a side whose line, as computed, would have no length or run
  // backwards: its cuts fit to within rounding (a few ulps of its length)
  // and leave it used up but for rounding.
  std::vector<Point> line_start(side_count), line_end(side_count);
  std::vector<bool> used_up(side_count, false);
  for (size_t j = 0; j < side_count; ++j) {
    const size_t a = j, b = (j + 1) % n;
    const Side& side = shape.sides[j];
    const Point& pa = shape.at[a];
    const Point& pb = shape.at[b];
    line_start[j] = pa;
    line_end[j] = pb;
    if (shape.cut[a]) {
      const double c = size * shape.per_unit_out[a];
      line_start[j] = {pa.x + c * side.unit.x, pa.y + c * side.unit.y};
    }
    if (shape.cut[b]) {
      const double c = size * shape.per_unit_in[b];
      line_end[j] = {pb.x - c * side.unit.x, pb.y - c * side.unit.y};
    }
    const double room = (line_end[j].x - line_start[j].x) * side.unit.x +
                        (line_end[j].y - line_start[j].y) * side.unit.y;
    used_up[j] = side.per_unit > 0.0 &&
                 (size * side.per_unit == side.length || !(room > 0.0));
    if (used_up[j]) {
      if (shape.cut[b]) {
        line_end[j] = line_start[j];
      } else {
        line_start[j] = line_end[j];
      }
    }
  }
  // Side j, then the cut at its last point; a closed outline starts with
  // the side from its first point and so ends with the corner there.
  o.corners.reserve(n);
  o.segments.reserve(2 * side_count);
  for (size_t j = 0; j < side_count; ++j) {
    if (!used_up[j]) o.segments.push_back(Line(line_start[j], line_end[j]));
    const size_t v = (j + 1) % n;
    if (!shape.cut[v]) continue;
    Corner c;
    c.point = shape.index[v];
    const double half = std::fabs(shape.turn[v]) / 2;
    c.is_arc = style == CornerStyle::kRadiusArc || IsRelief(style) ||
               (style == CornerStyle::kChordArc &&
                IsArc(trig::Cos(half), ArcThreshold()));
    c.tangent_in = line_end[j];
    c.tangent_out = line_start[v % side_count];
    c.cut_back = size * shape.per_unit_in[v];
    c.cut_back_out = size * shape.per_unit_out[v];
    c.turn = shape.turn[v];
    Segment cut = Line(c.tangent_in, c.tangent_out);
    cut.corner = static_cast<int>(o.corners.size());
    if (IsRelief(style)) {
      // The cutter's circle, radius r = d/2, through the corner point: its
      // centre on the bisector between the sides (a dogbone) or on one side
      // r from the corner (a T-bone). The arc runs round the far side of
      // the circle from the cutter, through or up to the corner point.
      const Point& corner = shape.at[v];
      const Point& u = shape.sides[j].unit;
      const Point& w = shape.sides[v % side_count].unit;
      const double r = size / 2;
      if (style == CornerStyle::kDogbone) {
        const Point bisector = {w.x - u.x, w.y - u.y};
        const double length = std::hypot(bisector.x, bisector.y);
        c.centre = {corner.x + r * bisector.x / length,
                    corner.y + r * bisector.y / length};
        cut.sweep = 2 * c.turn;
      } else {
        const Point& along = shape.centre_on_incoming[v] ? u : w;
        const double sign = shape.centre_on_incoming[v] ? -1.0 : 1.0;
        c.centre = {corner.x + sign * r * along.x, corner.y + sign * r * along.y};
        cut.sweep = std::copysign(std::max(kPi, 2 * std::fabs(c.turn)), c.turn);
      }
      c.radius = r;
      cut.is_arc = true;
      cut.centre = c.centre;
      cut.radius = r;
    } else if (c.is_arc) {
      // The centre lies `size` from the incoming side, on the inside of
      // the turn: to the left of the direction of travel for a left turn.
      // The arc from tangent_in about it by the turn ends at tangent_out.
      // A chord arc's radius: its chord, the size, is 2 r sin(|t|/2).
      const Point& u = shape.sides[j].unit;
      const double radius = style == CornerStyle::kRadiusArc
                                ? size
                                : size / (2 * trig::Sin(half));
      const double offset = c.turn > 0.0 ? radius : -radius;
      c.centre = {c.tangent_in.x - offset * u.y, c.tangent_in.y + offset * u.x};
      c.radius = radius;
      cut.is_arc = true;
      cut.centre = c.centre;
      cut.radius = c.radius;
      cut.sweep = c.turn;
    }
    // Cuts that run off the doubles (sizes and coordinates near the
    // largest double) give no point a reader could use.
    if (!Finite(c.tangent_in) || !Finite(c.tangent_out) ||
        !Finite(c.centre) || !std::isfinite(c.cut_back)) {
      return Refuse(o, Result::kTooClose, Refusal::kCornerNotFinite, c.point);
    }
    o.corners.push_back(c);
    o.segments.push_back(cut);
  }
  return o;
}

/// The largest size s with s * per_unit <= length as computed, for
/// per_unit > 0 and length > 0: the quotient, then moved by single steps
/// of a double to the exact boundary. The product is monotone in s, and
/// the quotient is within two steps of the boundary, so the loops take a
/// step or two.
double LargestSideSize(double length, double per_unit) {
  double s = length / per_unit;
  if (!(s <= DBL_MAX)) s = DBL_MAX;
  while (s > 0.0 && !(s * per_unit <= length)) s = std::nextafter(s, 0.0);
  for (;;) {
    const double up = std::nextafter(s, DBL_MAX);
    if (up == s || !(up * per_unit <= length)) break;
    s = up;
  }
  return s;
}

/// The largest size up to `cap` that `shape`'s sides hold; none when a
/// size-free rule refuses the shape.
std::optional<double> LargestShapeSize(const Shape& shape, double cap) {
  if (shape.result != Result::kDrawn) return std::nullopt;
  double s = cap;
  for (const Side& side : shape.sides) {
    if (side.per_unit > 0.0) s = std::min(s, LargestSideSize(side.length, side.per_unit));
  }
  return s;
}

/// The largest size in [lo, hi] at which `shape` draws, given that it
/// draws at lo and that the sizes that draw are an interval from lo: a
/// bisection, for the one case the fit rule does not decide (cuts whose
/// values run off the doubles).
double BisectDrawing(const Shape& shape, CornerStyle style, double lo,
                     double hi) {
  for (int step = 0; step < 2100 && lo < hi; ++step) {
    double mid = lo + (hi - lo) / 2;
    if (mid <= lo) mid = hi;
    if (Draw(shape, mid, style).result == Result::kDrawn) {
      lo = mid;
    } else {
      hi = std::nextafter(mid, 0.0);
    }
  }
  return lo;
}

/// `candidate`, the largest size the fit rule allows `shape` in
/// [lo, candidate], checked by drawing; where the cuts' values run off the
/// doubles, the largest size that does draw; none when lo does not draw.
/// Every size in [lo, candidate] gives the shape its closing, so drawing
/// the shape is drawing the caller's points.
std::optional<double> Drawable(const Shape& shape, CornerStyle style,
                               double lo, std::optional<double> candidate) {
  if (!candidate || *candidate < lo) return std::nullopt;
  if (Draw(shape, *candidate, style).result == Result::kDrawn) return candidate;
  if (Draw(shape, lo, style).result != Result::kDrawn) return std::nullopt;
  return BisectDrawing(shape, style, lo, *candidate);
}

}  // namespace

double CutBackPerUnitSize(CornerStyle style, double turn) {
  // Half the turn, exactly: halving a double is exact.
  const double half = std::fabs(turn) / 2;
  switch (style) {
    // Tangent points of a circle of radius r touching both sides lie
    // r / tan(a/2) from the corner, a the inner angle pi - |t|:
    // r tan(|t|/2).
    case CornerStyle::kRadiusArc: return trig::Tan(half);
    case CornerStyle::kDistanceChamfer: return 1.0;
    // Ends c from the corner on sides at inner angle pi - |t| lie
    // 2 c sin((pi - |t|)/2) = 2 c cos(t/2) apart; that is the size when
    // c = size / (2 cos(t/2)), kChordArc's tangent points.
    case CornerStyle::kChordChamfer:
    case CornerStyle::kChordArc: return 0.5 / trig::Cos(half);
    // The circle of diameter d through the corner point, its centre on the
    // bisector, meets sides at inner angle a = pi - |t| d cos(a/2) from the
    // corner: d sin(|t|/2).
    case CornerStyle::kDogbone: return trig::Sin(half);
    case CornerStyle::kTBone: break;  // one side's differs from the other's
  }
  return 0.0;
}

Outline FilletCornerStyle(const std::vector<Point>& points,
                          const rrensen::FilletOptions& options) {
  const double size = options.size;
  Outline o;
  if (!(size >= 0.0) || !std::isfinite(size)) {
    return Refuse(o, Result::kInvalidSize, Refusal::kInvalidSize, -1);
  }
  if (!KnownOptions(options)) {
    return Refuse(o, Result::kInvalidSize, Refusal::kInvalidStyle, -1);
  }
  const Shape shape = ShapeFor(points, options);
  if (shape.result != Result::kDrawn) {
    o.closed = shape.closed;
    o.result = shape.result;
    o.problem = shape.problem;
    return o;
  }
  return Draw(shape, size, options.style);
}

std::optional<double> LargestCornerStyleSize(
    const std::vector<Point>& points, const rrensen::FilletOptions& options,
    double limit) {
  if (!KnownOptions(options) || points.empty() || !(limit > 0.0)) {
    return std::nullopt;
  }
  // The largest size below the limit; sizes are finite, so at most the
  // largest double.
  const double top = std::min(std::nextafter(limit, 0.0), DBL_MAX);
  const Closing closing = options.closing;
  if (closing != Closing::kByProximity) {
    const Shape shape = Analyse(points, closing == Closing::kClosed, options);
    return Drawable(shape, options.style, 0.0, LargestShapeSize(shape, top));
  }
  // By proximity the outline is open for sizes s with !(d < 2 s), d the
  // distance from the first point to the last: up to `half` below, and
  // closed above it. Each shape's sizes that fit run from its lower end up
  // to its own bound.
  // Measured as the closing rule measures it (ClosesByProximity), so that
  // every style closes the same outlines.
  const double d = Distance(points.front(), points.back());
  double half = d / 2;
  if (std::isnan(d)) half = DBL_MAX;  // never closes
  while (half > 0.0 && d < 2 * half) half = std::nextafter(half, 0.0);
  std::optional<double> closed_size;
  if (half < top) {
    const double lowest_closed = std::nextafter(half, DBL_MAX);
    const Shape closed_shape = Analyse(points, true, options);
    closed_size = Drawable(closed_shape, options.style, lowest_closed,
                           LargestShapeSize(closed_shape, top));
  }
  if (closed_size) return closed_size;
  const Shape open_shape = Analyse(points, false, options);
  return Drawable(open_shape, options.style, 0.0,
                  LargestShapeSize(open_shape, std::min(half, top)));
}

}  // namespace geometry
