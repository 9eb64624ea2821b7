#ifndef RRENSEN_FILLET_H_
#define RRENSEN_FILLET_H_

/// Chord-length filleting: turns a sequence of points into one continuous
/// outline whose every corner is cut back so that its two cut points (the
/// tangent points) lie a fixed distance apart, the fillet size, and closed
/// by the circular arc tangent to both sides, or by the straight chord where
/// the direction changes by 10 degrees or less.
///
/// The fillet size is the chord of each arc, not its radius: at a corner
/// whose direction changes by 2k, each tangent point lies
/// size / (2 |cos k|) from the corner point and the radius is
/// size / (2 |sin k|). A sharp corner gets a small arc, a gentle one a large
/// arc, and every cut is the same width.
///
/// Values in, values out: FilletOutline reads nothing but its arguments,
/// writes nothing and keeps no state, so it may be called from any thread.
///
///     std::vector<rrensen::Point> points = {{0, 0}, {100, 0}, {100, 100}};
///     rrensen::Outline outline = rrensen::FilletOutline(points, 5.0);
///     if (outline.result == rrensen::kDrawn) {
///       for (const rrensen::Segment& s : outline.segments) {
///         // a line from s.start to s.end, or an arc about s.centre
///       }
///     }

#include <optional>
#include <vector>

namespace rrensen {

/// A point in drawing units.
struct Point {
  double x = 0.0;
  double y = 0.0;
};

/// Results, as the rrensen tool reports them to its host.
enum Result : int {
  kDrawn = 0,      ///< the outline is drawn
  kTooClose = 1,   ///< a side is too short, too few points, or not finite
  kTooSharp = 2,   ///< a corner turns too sharply for its sides
  kReversal = 3,   ///< an arc corner turns exactly back (fillet size 0)
};

/// One piece of the outline, in drawing order.
struct Segment {
  bool is_arc = false;
  /// Where the piece starts and ends, in the direction the outline runs. An
  /// arc's ends are its corner's two tangent points.
  Point start;
  Point end;
  /// For an arc: its centre and radius. Zero for a line.
  Point centre;
  double radius = 0.0;
  /// The corner (index into Outline::corners) whose connector this piece is:
  /// its arc, or its chord; -1 for a side.
  int corner = -1;
};

/// One corner of the outline: where the direction changes at an inner point.
/// The angles are the outline's own, in the units the rrensen tool writes.
struct Corner {
  /// Index into the caller's points of the corner point.
  int point = 0;
  /// True for an arc corner, false for a chord corner (a direction change
  /// of 10 degrees or less).
  bool is_arc = false;
  /// Tangent point on the incoming side, and on the outgoing side: the two
  /// ends of the connector, the fillet size apart.
  Point tangent_in;
  Point tangent_out;
  /// Centre of the arc. The centre lies `signed_radius` to the left of the
  /// incoming side.
  Point centre;
  /// Radius of the arc (always >= 0).
  double radius = 0.0;
  /// The signed radius the centre was placed with: positive for a left
  /// turn. A chord corner has no arc of its own and carries the radius of
  /// the arc corner before it (0 when there was none), as the tool's debug
  /// trace shows it.
  double signed_radius = 0.0;
  /// Half the difference of the outgoing and the incoming direction, in
  /// radians, not reduced to a range (between -pi and pi).
  double half_turn = 0.0;
  /// |cos half_turn|: the corner is an arc when this is below cos 5 degrees.
  double cos_half_turn = 0.0;
  /// Distance from the corner point to each tangent point.
  double cut_back = 0.0;
  /// Half the arc's sweep in degrees, 0 to 90: half the real direction
  /// change.
  double half_sweep = 0.0;
  /// Direction from the centre to the corner point, degrees, -180 to 180.
  /// The arc runs from tilt - half_sweep to tilt + half_sweep
  /// counter-clockwise.
  double tilt = 0.0;
};

/// A side whose length the spacing test compared with twice the fillet
/// size.
struct Side {
  int from = 0;  ///< index into the caller's points
  int to = 0;    ///< index into the caller's points
  double length = 0.0;
};

/// Why an outline was refused.
enum class Refusal {
  kNone,          ///< drawn
  kNoCorner,      ///< fewer than three points once closed (and not two open)
  kNotFinite,     ///< `point` is infinite or nan
  kShortSide,     ///< side `point`..`next_point` is `found` long, needs `needed`
  kSharpCorner,   ///< corner `point`: a side of `found` needs `needed`
  kReversal,      ///< corner `point` turns exactly back, with an arc
  kCornerNotFinite,  ///< corner `point` gives a value that is not finite
};

/// Where and why an outline was refused.
struct Problem {
  Refusal kind = Refusal::kNone;
  /// Index into the caller's points: the failing point, corner or side
  /// start; -1 where no point is to blame (kNoCorner).
  int point = -1;
  /// For a side, index of its end point; else -1.
  int next_point = -1;
  double needed = 0.0;  ///< length the side must have
  double found = 0.0;   ///< length it has
};

/// The whole result of filleting: what is drawn, and everything a caller
/// needs to explain it.
struct Outline {
  /// kDrawn, or the reason of the refusal (all or nothing: a refused outline
  /// has no segments).
  int result = kDrawn;
  /// True when the last point lay closer than twice the fillet size to the
  /// first: the outline was closed and the corner at the first point rounded
  /// too.
  bool closed = false;
  /// The points the passes worked on: the caller's points, where a closed
  /// outline ends with the first point again and a copy of the second.
  std::vector<Point> working_points;
  /// The sides the spacing test looked at, in order, up to the failing one.
  std::vector<Side> sides;
  /// The corners in order along the outline, up to the last one the corner
  /// pass reached (a corner refused for sharpness or reversal is not here;
  /// one refused as not finite is, last).
  std::vector<Corner> corners;
  /// Lines and arcs in drawing order; empty when refused.
  std::vector<Segment> segments;
  /// Why it was refused; kind kNone when drawn.
  Problem problem;
};

/// Fillets the corners of the polyline through `points`, in order, with
/// every cut `fillet_size` wide (negative sizes are taken as they come: pass
/// a size >= 0).
///
/// The rules, all or nothing:
/// - closing: when the last point lies closer than 2 x fillet_size to the
///   first, the last point is taken as the first again and the outline is
///   closed; the corner at the first point is rounded too;
/// - spacing: every side but the first of an open outline (every side of a
///   closed one) must be at least 2 x fillet_size long (result kTooClose);
/// - corners: each side of a corner must be at least 1.5 times the cut back
///   (result kTooSharp); an arc corner that turns exactly back is refused
///   (kReversal, possible only with fillet size 0);
/// - two points (open) give one line; fewer points, or a closed outline of
///   fewer than three, give kTooClose;
/// - any point that is not finite gives kTooClose.
Outline FilletOutline(const std::vector<Point>& points, double fillet_size);

/// The largest fillet size below `limit`, at three decimals (a whole number
/// of thousandths), with which FilletOutline draws `points`; none when no
/// size from 0 up does. The size decides whether the outline closes as well
/// as how much room each corner needs; both shapes are searched.
std::optional<double> LargestFilletSize(const std::vector<Point>& points,
                                        double limit = 20.0);

}  // namespace rrensen

#endif  // RRENSEN_FILLET_H_
