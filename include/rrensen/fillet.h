#ifndef RRENSEN_FILLET_H_
#define RRENSEN_FILLET_H_

/// Chord-length filleting: turns a sequence of points into one continuous
/// outline whose every corner is cut back so that its two cut points (the
/// tangent points) lie a fixed distance apart, the fillet size, and closed
/// by the circular arc tangent to both sides, or by the straight chord where
/// the direction changes by 10 degrees or less.
///
/// The fillet size is the chord of each arc, not its radius: at a corner
/// whose direction changes by t, each tangent point lies
/// size / (2 cos(t/2)) from the corner point and the radius is
/// size / (2 sin(t/2)). A sharp corner gets a small arc, a gentle one a
/// large arc, and every cut is the same width.
///
/// Values in, values out: Fillet reads nothing but its arguments, writes
/// nothing and keeps no state, so it may be called from any thread. Lengths
/// are in the caller's drawing units and every angle is in radians.
///
///     std::vector<rrensen::Point> points = {{0, 0}, {100, 0}, {100, 100}};
///     rrensen::Outline outline = rrensen::Fillet(points, {5.0});
///     if (outline.result == rrensen::Result::kDrawn) {
///       for (const rrensen::Segment& s : outline.segments) {
///         // a line from s.start to s.end, or an arc about s.centre that
///         // turns by s.sweep
///       }
///     } else {
///       std::puts(rrensen::Describe(outline.problem).c_str());
///     }

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "rrensen/export.h"
#include "rrensen/version.h"

namespace rrensen {
inline namespace v1 {

/// A point in drawing units.
struct Point {
  double x = 0.0;
  double y = 0.0;
};

/// How an outline came out. The first four are the codes the rrensen tool
/// reports to its host (0 to 3).
enum class Result : int {
  kDrawn = 0,        ///< the outline is drawn
  kTooClose = 1,     ///< a side is too short, too few points, or not finite
  kTooSharp = 2,     ///< a corner turns too sharply for its sides
  kReversal = 3,     ///< an arc corner turns exactly back (fillet size 0)
  kInvalidSize = 4,  ///< the fillet size is negative, infinite or NaN
};

/// Whether the outline closes, joining its last point to its first.
enum class Closing : int {
  /// The host's rule: closed when the last point lies closer than twice
  /// the fillet size to the first. The last point is then taken as the
  /// first again.
  kByProximity = 0,
  /// Never closed: the outline runs from the first point to the last.
  kOpen = 1,
  /// Always closed: the last point joins the first and the corner at the
  /// first point is rounded too. A last point equal to the first is the
  /// first point once more and counts once.
  kClosed = 2,
};

/// What to do with the points.
struct FilletOptions {
  /// The distance between the two tangent points of every corner, in
  /// drawing units: 0 or more and finite.
  double size = 5.0;
  Closing closing = Closing::kByProximity;
};

/// One piece of the outline, in drawing order: a side, or the connector that
/// cuts a corner (an arc, or a chord where the corner is shallow).
struct Segment {
  /// True for an arc, false for a straight line.
  bool is_arc = false;
  /// Where the piece starts and ends, in the direction the outline runs.
  Point start;
  Point end;
  /// The arc's centre; (0, 0) for a line.
  Point centre;
  /// The arc's radius; 0 for a line.
  double radius = 0.0;
  /// The arc's signed sweep from `start` to `end` about `centre`, in
  /// radians: positive counter-clockwise, at most pi in size; 0 for a line.
  double sweep = 0.0;
  /// The corner (index into Outline::corners) this piece cuts: its arc or
  /// its chord; -1 for a side.
  int corner = -1;
};

/// One corner of a drawn outline: a point where the direction changes.
struct Corner {
  /// Index into the caller's points of the corner point.
  int point = 0;
  /// True when the corner is cut by an arc, false when by a straight chord
  /// (a direction change of 10 degrees or less).
  bool is_arc = false;
  /// Tangent point on the incoming side, and on the outgoing side: the two
  /// ends of the cut, the fillet size apart.
  Point tangent_in;
  Point tangent_out;
  /// Distance from the corner point to each tangent point.
  double cut_back = 0.0;
  /// The signed change of direction at the corner, in radians: positive for
  /// a left (counter-clockwise) turn, at most pi in size. An arc corner's
  /// arc sweeps exactly this.
  double turn = 0.0;
  /// The arc's centre; (0, 0) for a chord corner.
  Point centre;
  /// The arc's radius; 0 for a chord corner.
  double radius = 0.0;
};

/// Which rule refused an outline.
enum class Refusal : int {
  kNone = 0,          ///< drawn
  kInvalidSize,       ///< the fillet size is negative, infinite or NaN
  kNoCorner,          ///< fewer than three points once closed (and not two open)
  kNotFinite,         ///< `point` is infinite or NaN
  kShortSide,         ///< side `point`..`next_point` is `found` long, needs `needed`
  kSharpCorner,       ///< corner `point`: a side of `found` needs `needed`
  kReversal,          ///< corner `point` turns exactly back, with an arc
  kCornerNotFinite,   ///< corner `point` gives a value that is not finite
};

/// Where and why an outline was refused.
struct Problem {
  Refusal kind = Refusal::kNone;
  /// Index into the caller's points: the failing point, the corner, or the
  /// side's first point; -1 where no point is to blame.
  int point = -1;
  /// For a side, the index of its last point; else -1.
  int next_point = -1;
  /// For a side or a corner: the length the side must have, and the length
  /// it has; else 0.
  double needed = 0.0;
  double found = 0.0;
};

/// The whole result of filleting.
struct Outline {
  /// kDrawn, or why it was refused. All or nothing: a refused outline has
  /// no segments and no corners.
  Result result = Result::kDrawn;
  /// True when the outline was closed: it ends where it starts, and the
  /// corner at the first point is cut too.
  bool closed = false;
  /// The corners in order along the outline; empty when refused.
  std::vector<Corner> corners;
  /// Lines and arcs in drawing order, each starting where the one before
  /// it ends; empty when refused.
  std::vector<Segment> segments;
  /// Why it was refused; kind kNone when drawn.
  Problem problem;
};

/// Fillets the corners of the polyline through `points`, in order, with
/// every cut `options.size` wide, closed as `options.closing` says.
///
/// The rules, all or nothing:
/// - size: a size that is negative, infinite or NaN gives kInvalidSize;
/// - spacing: every side but the first of an open outline (every side of a
///   closed one) must be at least 2 x size long (result kTooClose);
/// - corners: each side of a corner must be at least 1.5 times the cut back
///   (result kTooSharp); an arc corner that turns exactly back is refused
///   (kReversal, possible only with size 0);
/// - two points, open, give one line; fewer points, or a closed outline of
///   fewer than three, give kTooClose;
/// - any point that is not finite gives kTooClose.
RRENSEN_API Outline Fillet(const std::vector<Point>& points,
                           const FilletOptions& options);

/// Fillet with the host's closing rule (Closing::kByProximity).
RRENSEN_API Outline FilletOutline(const std::vector<Point>& points,
                                  double fillet_size);

/// The largest fillet size below `limit` with which Fillet draws `points`
/// closed as `options.closing` says (`options.size` is not read), as a whole
/// number of thousandths, a size that can be typed; none when no size from
/// 0 up draws them. With Closing::kByProximity the size decides whether the
/// outline closes as well as how much room each corner needs; both shapes
/// are searched.
///
/// Precisely: the largest size below `limit` that draws, rounded to the
/// nearest thousandth but to at most limit - 0.001, then a thousandth less
/// at a time while that does not draw, for at most a million thousandths
/// (only a limit above 1000 can leave a smaller size that draws unfound).
/// A size too large to count in thousandths (1e12 or more) is returned as
/// found, the largest double that draws; with an infinite `limit`, infinity
/// when every size draws (two points, open).
///
/// Takes time in proportion to the number of points: one pass over them
/// without trigonometry, then the trigonometry of the few corners that may
/// decide the size. Points beyond 1e150 in size, where lengths overflow,
/// are searched with about a hundred Fillet runs instead.
RRENSEN_API std::optional<double> LargestFilletSize(
    const std::vector<Point>& points, const FilletOptions& options = {},
    double limit = std::numeric_limits<double>::infinity());

/// The problem in one English sentence, for a person, with lengths to three
/// decimals and points numbered from 1 ("the side from point 2 to point 3
/// is 8.000 long and needs 10.000"); empty for Refusal::kNone.
RRENSEN_API std::string Describe(const Problem& problem);

/// The bulge of a segment as DXF polylines carry it: tan(sweep / 4),
/// positive counter-clockwise, 0 for a line. The same bits on every
/// platform.
RRENSEN_API double Bulge(const Segment& segment);

}  // namespace v1
}  // namespace rrensen

#endif  // RRENSEN_FILLET_H_
