#ifndef RRENSEN_FILLET_H_
#define RRENSEN_FILLET_H_

/// Chord-length filleting: turns a sequence of points into one continuous
/// outline whose every corner is cut back so that its two cut points (the
/// tangent points) lie a fixed distance apart, the fillet size, and closed
/// by the circular arc tangent to both sides, or by the straight chord where
/// the direction changes by 10 degrees or less. Other corner styles (arcs of
/// a given radius, chamfers) are chosen with FilletOptions::style; see
/// CornerStyle.
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
#include <string_view>
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
  kReversal = 3,     ///< a corner turns exactly back (for chord arcs:
                     ///< only possible with fillet size 0)
  kInvalidSize = 4,  ///< the fillet size is negative, infinite or NaN, an
                     ///< option is none of its values, or a relief style
                     ///< is asked of an outline with no region
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

/// How each corner is cut, and what the size measures. At a corner whose
/// direction changes by t (|t| < pi), the cut starts on the incoming side
/// and ends on the outgoing side, both ends `cut_back` from the corner:
///
///   style             the cut             size is           cut_back
///   kChordArc         tangent arc, or     distance between  size / (2 cos(t/2))
///                     chord if |t| <= 10  the cut's ends
///                     degrees
///   kRadiusArc        tangent arc         the arc's radius  size * tan(|t|/2)
///   kDistanceChamfer  straight line       each end's        size
///                                         distance from
///                                         the corner
///   kChordChamfer     straight line       the line's        size / (2 cos(t/2))
///                                         length
///
/// kChordArc is the rrensen tool's rule and keeps every one of its rules
/// (spacing, 1.5 cut-backs per side; see Fillet). The three other styles
/// follow one geometric rule instead, the fit rule:
///
/// - Fit: on every side, the cut-backs of the cuts at its two ends (0 at the
///   open end of an outline or at a straight corner) must fit: size x (the
///   sum of their cut-backs per unit size) <= the side's length, computed
///   in that order, so that LargestFilletSize can find the exact bound.
///   A side may be used up exactly; its two cuts then meet in one point
///   and the side draws no line: a side's line is never of zero length.
///   (The same holds where the cuts fit but their ends, as computed, meet
///   or pass each other by a rounding error.) Refused: kTooClose,
///   Refusal::kShortSide, naming the side, with `needed` the size times the
///   sum and `found` the side's length.
/// - Straight: a corner that turns by less than kTurnTolerance is passed
///   without a cut. It is not one of Outline::corners; the outline's lines
///   meet at its point, each line on its own side.
/// - Reversal: a corner that turns back by more than pi - kTurnTolerance
///   has no inside to cut: kReversal, Refusal::kReversal, at any size.
/// - Coincident points: a side of zero length has no direction, so neither
///   of its corners has a turn: kTooClose, Refusal::kCoincidentPoints,
///   naming the side, at any size. (Two points of an open outline remain one
///   line, as for kChordArc.)
/// - Size 0 draws every corner with a cut of zero length, its tangent
///   points on the corner point (a radius-0 arc for kRadiusArc).
/// - Closing is as for kChordArc, kByProximity included: the outline closes
///   when its last point lies closer than 2 x size to the first, whatever
///   the style, and the last point is then taken as the first.
/// - Too few points: an open outline of two points is one line, of fewer
///   kNoCorner; a closed outline of fewer than two points once closed (the
///   last point taken as the first, or dropped as the first once more)
///   kNoCorner, of two, two reversals. So two points by proximity that
///   close give kNoCorner, where kChordArc's spacing rule gives kShortSide.
/// - Points not finite: kTooClose, Refusal::kNotFinite, naming the first
///   such point (kChordArc names point 0 for an open pair).
/// - Checks run in this order, and the first failure is reported: the
///   size; too few points; points not finite (in the caller's order);
///   coincident points (sides in outline order); each corner's turn
///   (reversal, or a turn that is not finite because coordinate differences
///   overflow: kCornerNotFinite); the fit of each side; values of the cuts
///   that are not finite (kCornerNotFinite).
///
/// Outline order, for the checks and for Outline::corners, is as for
/// kChordArc: an open outline's from its first point to its last; a closed
/// outline's from the corner at the second point round to the corner at the
/// first point and the side from the first point to the second.
///
/// Two more styles are reliefs for a round cutter, of diameter d = size and
/// radius r = d/2: they cut away, beyond the corner point, what the cutter
/// cannot reach, so that a tab goes into its slot. A relief goes only at a
/// corner the cutter cannot reach: on the side of the outline where the
/// cutter runs (FilletOptions::tool_side), the angle a between the two
/// sides, pi - |t|, is below pi; and it goes only where a is at most
/// FilletOptions::relief_max_angle. The cutter's side is measured against
/// the outline's region (FilletOptions::winding): an open outline, or a
/// closed one round no area, with no winding given has none, and is
/// refused (kInvalidSize, Refusal::kNoToolSide). Corners that get no relief stay sharp.
///
///   style     the cut                              cut_back   cut_back_out
///   kDogbone  the circle of radius r through the   d sin(|t|/2)   the same
///             corner point, its centre on the
///             bisector on the cutter's side; the
///             arc through the corner point sweeps
///             2 t
///   kTBone    the circle of radius r through the   d              d max(0, -cos t)
///             corner point, its centre on one      (on the side with the
///             side r from it; the arc leaves that   centre; the other side's
///             side d from the corner and meets      is cut_back_out's rule)
///             the other at the corner point or
///             where the circle crosses it; it
///             sweeps t/|t| max(pi, 2 |t|)
///
/// A T-bone's centre is on the side FilletOptions::tbone_side names. Both
/// follow the fit rule above, with each side holding the cut-backs at its
/// two ends.
enum class CornerStyle : int {
  kChordArc = 0,
  kRadiusArc = 1,
  kDistanceChamfer = 2,
  kChordChamfer = 3,
  kDogbone = 4,
  kTBone = 5,
};

/// Where the cutter runs, for the relief styles: outside the outline's
/// region (cutting a part out: its concave corners get reliefs) or inside it
/// (a hole or a pocket: its convex corners do).
enum class ToolSide : int {
  kOutside = 0,
  kInside = 1,
};

/// Which side of a corner holds a T-bone's centre: the longer of the two
/// (the incoming one when they are as long), the shorter, the incoming
/// side or the outgoing side.
enum class TBoneSide : int {
  kLonger = 0,
  kShorter = 1,
  kFirst = 2,
  kSecond = 3,
};

/// The default largest angle between the two sides, on the cutter's side,
/// of a corner that gets a relief: 170 degrees, in radians. A corner that
/// opens wider leaves the cutter at most r (1 - sin(85 degrees)), 0.4% of
/// r, short of its point.
constexpr double kDefaultReliefMaxAngle = 170.0 * 3.141592653589793 / 180.0;

/// The turn tolerance, in radians, of the styles other than kChordArc: a
/// corner whose |turn| is below it is passed straight, one whose |turn| is
/// above pi minus it is a reversal. The turn itself is computed to a few
/// 1e-16 radians (atan2 of the cross and dot products of the two sides'
/// unit vectors), so the tolerance is there for the points, not the
/// arithmetic: points meant to lie on one line, once rounded to doubles,
/// turn by about (spacing of doubles at their coordinates) / (side length),
/// 2e-12 for coordinates near 10^4 and sides 1 unit long. 1e-9 is several
/// hundred times that, and harmless: skipping the cut of a turn below it
/// moves the outline by at most size x sin(1e-9 / 2), half a billionth of
/// the size.
constexpr double kTurnTolerance = 1e-9;

/// Which corners are cut. A corner is convex where the outline turns the
/// way it goes round its region (the outside corners of a part, the inside
/// corners of a hole), concave where it turns against it. Corners not
/// selected stay sharp: they are not among Outline::corners, and take no
/// room on their sides.
enum class CornerSelection : int {
  kAll = 0,
  kConvex = 1,
  kConcave = 2,
};

/// Which way an outline goes round its region, for CornerSelection.
enum class Winding : int {
  /// The outline's own: a closed outline's, by the sign of the area it
  /// encloses. An open outline, or a closed one enclosing no area, has no
  /// region: every corner of it is selected.
  kOfTheOutline = 0,
  /// Given by the caller (for a part of a larger outline, such as a run of
  /// straight pieces of a polyline with arcs): the region on the left of
  /// the direction of travel, or on the right.
  kCounterClockwise = 1,
  kClockwise = 2,
};

/// What to do with the points.
struct FilletOptions {
  /// What every corner's cut measures (see CornerStyle), in drawing units:
  /// 0 or more and finite. For kChordArc, the distance between the two
  /// tangent points of every corner.
  double size = 5.0;
  Closing closing = Closing::kByProximity;
  CornerStyle style = CornerStyle::kChordArc;
  /// Which corners are cut. With a selection other than kAll, kChordArc
  /// follows the fit rule of the other styles (its cuts as kChordArc's,
  /// chords up to 10 degrees): its own rules ask room of every side for
  /// cuts at both ends.
  CornerSelection corners = CornerSelection::kAll;
  Winding winding = Winding::kOfTheOutline;
  /// For kDogbone and kTBone: where the cutter runs, the largest angle
  /// between the sides of a corner that gets a relief (radians, in (0, pi];
  /// others are refused as kInvalidStyle), and the side of a T-bone's
  /// centre.
  ToolSide tool_side = ToolSide::kOutside;
  double relief_max_angle = kDefaultReliefMaxAngle;
  TBoneSide tbone_side = TBoneSide::kLonger;
};

/// One piece of the outline, in drawing order: a side, or the cut of a
/// corner (an arc, or a straight line: a chord where a kChordArc corner is
/// shallow, or a chamfer).
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
  /// radians: positive counter-clockwise, at most pi in size (a relief's,
  /// below 2 pi); 0 for a line.
  double sweep = 0.0;
  /// The corner (index into Outline::corners) this piece cuts: its arc,
  /// its chord or its chamfer; -1 for a side. Every corner has exactly one
  /// such piece.
  int corner = -1;
};

/// One corner of a drawn outline: a point where the direction changes and
/// the outline is cut.
struct Corner {
  /// Index into the caller's points of the corner point.
  int point = 0;
  /// True when the corner is cut by an arc: every kRadiusArc corner, and a
  /// kChordArc corner turning by more than 10 degrees. False for a straight
  /// cut: a shallower kChordArc corner's chord, or a chamfer.
  bool is_arc = false;
  /// Tangent point on the incoming side, and on the outgoing side: the two
  /// ends of the cut (for chamfers the name is kept, they touch nothing).
  /// kChordArc and kChordChamfer: the size apart; kDistanceChamfer: each
  /// the size from the corner point; kRadiusArc: where the arc of radius
  /// size touches the sides.
  Point tangent_in;
  Point tangent_out;
  /// Distance from the corner point to each tangent point, the same on both
  /// sides (see CornerStyle for each style's formula), but for a T-bone:
  /// `cut_back` on the incoming side, `cut_back_out` on the outgoing side.
  double cut_back = 0.0;
  double cut_back_out = 0.0;
  /// The signed change of direction at the corner, in radians: positive for
  /// a left (counter-clockwise) turn, at most pi in size. An arc corner's
  /// arc sweeps exactly this, but a relief's (see CornerStyle).
  double turn = 0.0;
  /// The arc's centre; (0, 0) for a straight cut.
  Point centre;
  /// The arc's radius (the size, for kRadiusArc); 0 for a straight cut.
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
  kReversal,          ///< corner `point` turns exactly back (kChordArc:
                      ///< with an arc; other styles: within kTurnTolerance)
  kCornerNotFinite,   ///< corner `point` gives a value that is not finite
  kCoincidentPoints,  ///< side `point`..`next_point` has zero length (not
                      ///< for kChordArc, whose spacing rule covers it)
  kInvalidStyle,      ///< the style, or another option, is none of its
                      ///< values
  kNoToolSide,        ///< a relief style on an outline with no region
                      ///< (open, or closed round no area, and no winding
                      ///< given): no side for the cutter
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
  /// it has; else 0. For a side of a style other than kChordArc, `needed`
  /// is the size times the sum of its two cut-backs per unit size, which
  /// is the sum of the two cut-backs.
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
  /// The corners that FilletOptions::corners did not select, left sharp; 0
  /// when refused.
  int corners_unselected = 0;
};

/// Fillets the corners of the polyline through `points`, in order, with
/// every cut `options.size` wide, closed as `options.closing` says, in the
/// style `options.style`.
///
/// For kChordArc (the rules of the rrensen tool), all or nothing:
/// - size: a size that is negative, infinite or NaN gives kInvalidSize;
/// - spacing: every side but the first of an open outline (every side of a
///   closed one) must be at least 2 x size long (result kTooClose);
/// - corners: each side of a corner must be at least 1.5 times the cut back
///   (result kTooSharp); an arc corner that turns exactly back is refused
///   (kReversal, possible only with size 0);
/// - two points, open, give one line; fewer points, or a closed outline of
///   fewer than three, give kTooClose;
/// - any point that is not finite gives kTooClose.
/// For the other styles the fit rule of CornerStyle, all or nothing too.
RRENSEN_API Outline Fillet(const std::vector<Point>& points,
                           const FilletOptions& options);

/// Fillet with the host's closing rule (Closing::kByProximity).
RRENSEN_API Outline FilletOutline(const std::vector<Point>& points,
                                  double fillet_size);

/// The largest fillet size below `limit` with which Fillet draws `points`
/// closed as `options.closing` says, in the style `options.style`
/// (`options.size` is not read); none when no size from 0 up draws them.
/// With Closing::kByProximity the size decides whether the outline closes
/// as well as how much room each corner needs; both shapes are searched.
///
/// kChordArc: as a whole number of thousandths, a size that can be typed.
/// Precisely: the largest size below `limit` that draws, rounded to the
/// nearest thousandth but to at most limit - 0.001, then a thousandth less
/// at a time while that does not draw, for at most a million thousandths
/// (only a limit above 1000 can leave a smaller size that draws unfound).
/// A size too large to count in thousandths (1e12 or more) is returned as
/// found, the largest double that draws; with an infinite `limit`, infinity
/// when every size draws (two points, open). The search makes one pass over
/// the points without trigonometry, then measures the few corners that may
/// decide the size; points beyond 1e150 in size, where lengths overflow,
/// are searched with about a hundred Fillet runs instead.
///
/// Other styles: exact, not rounded. A side of length L whose two cuts need
/// k1 and k2 per unit size holds every size s with s x (k1 + k2) <= L; the
/// result is the largest double that every side holds (the smallest
/// L / (k1 + k2), to the last bit) and that is below `limit`: a size one
/// step of a double above it is refused, unless it reaches `limit`. When no
/// side limits the size (no corner is cut), the largest double below
/// `limit`. With kByProximity, the open shape holds sizes up to half the
/// distance from the first point to the last, the closed shape only sizes
/// above it; the larger size that draws is returned. (Where the cuts'
/// coordinates would pass the largest double, with coordinates and sizes
/// near 1e308, the fit rule alone does not decide; there the largest size
/// that draws is found by bisection.)
///
/// Takes time in proportion to the number of points.
RRENSEN_API std::optional<double> LargestFilletSize(
    const std::vector<Point>& points, const FilletOptions& options = {},
    double limit = std::numeric_limits<double>::infinity());

/// The problem in one English sentence, for a person, with lengths to three
/// decimals and points numbered from 1 ("the side from point 2 to point 3
/// is 8.000 long and needs 10.000"); empty for Refusal::kNone.
RRENSEN_API std::string Describe(const Problem& problem);

/// The refusal's code: the lower-case name of its value, words joined by
/// underscores ("none", "short_side", "sharp_corner", ...), as reports and
/// other languages name it. Never empty.
RRENSEN_API const char* RefusalCode(Refusal kind);

/// The style's name, as command lines and other languages give it:
/// "chord", "radius", "chamfer" (kDistanceChamfer), "chord-chamfer",
/// "dogbone" or "tbone";
/// "unknown" for a value that is none of CornerStyle's.
RRENSEN_API const char* CornerStyleName(CornerStyle style);

/// The selection's name: "all", "convex" or "concave"; "unknown" for a
/// value that is none of CornerSelection's.
RRENSEN_API const char* CornerSelectionName(CornerSelection corners);

/// The style whose CornerStyleName is `name`; none for any other text.
RRENSEN_API std::optional<CornerStyle> CornerStyleNamed(std::string_view name);

/// The selection named `name` as CornerSelectionName names it; none for
/// any other name.
RRENSEN_API std::optional<CornerSelection> CornerSelectionNamed(
    std::string_view name);

/// The bulge of a segment as DXF polylines carry it: tan(sweep / 4),
/// positive counter-clockwise, 0 for a line. The same bits on every
/// platform.
RRENSEN_API double Bulge(const Segment& segment);

}  // namespace v1
}  // namespace rrensen

#endif  // RRENSEN_FILLET_H_
