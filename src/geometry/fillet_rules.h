#ifndef RRENSEN_GEOMETRY_FILLET_RULES_H_
#define RRENSEN_GEOMETRY_FILLET_RULES_H_

/// The measures and the tests by which Fillet decides whether an outline can
/// be drawn with a size, kept in one place so that the largest-size search
/// (largest_size.cc) makes exactly the comparisons Fillet makes, bit for
/// bit. Not part of the public API.
///
/// Distance and MeasureCorner are defined out of line, once: a compiler that
/// fuses a multiplication and an addition might do so in one caller and not
/// in another, and the two must round alike.

#include <array>
#include <cstddef>
#include <vector>

#include "geometry/trig.h"
#include "rrensen/fillet.h"

namespace geometry {

/// Distance between two points, as every side and gap is measured:
/// sqrt(dx^2 + dy^2), without overflow or underflow in the squares. Where
/// the larger difference lies outside 2^-500 .. 2^500 both are first scaled
/// by a power of two, which is exact, and the root scaled back; elsewhere
/// the squares cannot overflow or lose bits to underflow, and the plain
/// formula is used. IEEE operations and exact scaling only, so the bits are
/// the same on every platform. Infinite only when the distance itself
/// exceeds the largest double.
double Distance(const rrensen::Point& a, const rrensen::Point& b);

/// Whether two points are the very same point, bit for bit (0 and -0 alike).
inline bool SamePoint(const rrensen::Point& a, const rrensen::Point& b) {
  return a.x == b.x && a.y == b.y;
}

/// Ends `outline` as refused: the result and the problem set, no corner, no
/// segment. Returns it.
rrensen::Outline& Refuse(rrensen::Outline& outline, rrensen::Result result,
                         rrensen::Refusal kind, int point, int next_point = -1,
                         double needed = 0.0, double found = 0.0);

/// Whether the host's rule (Closing::kByProximity) closes `points` with
/// `size`: the last point lies closer than 2 x size to the first. With no
/// point, "first" and "last" are both absent and the outline stays open.
bool ClosesByProximity(const std::vector<rrensen::Point>& points, double size);

/// The same rule for an outline from `first` to `last`.
bool ClosesByProximity(const rrensen::Point& first, const rrensen::Point& last,
                       double size);

/// The points the passes work on, described without copying the caller's:
/// the first `kept` of them, then the `tail_count` points of `tail`. A
/// closed outline's working points end with the first point again and a
/// copy of the second, so that the corner at the first point is rounded
/// like the others.
struct WorkingShape {
  bool closed = false;
  size_t kept = 0;
  std::array<rrensen::Point, 2> tail;
  size_t tail_count = 0;

  size_t size() const { return kept + tail_count; }
  /// Working point `k`, from 0.
  const rrensen::Point& At(const std::vector<rrensen::Point>& points,
                           size_t k) const {
    return k < kept ? points[k] : tail[k - kept];
  }
};

/// The working points for `closing`; `closes_by_proximity` is only read for
/// Closing::kByProximity.
WorkingShape ShapeOf(const std::vector<rrensen::Point>& points,
                     rrensen::Closing closing, bool closes_by_proximity);

/// Fills `w` with the working points ShapeOf describes and says whether
/// the outline is closed.
bool WorkingPoints(const std::vector<rrensen::Point>& points,
                   rrensen::Closing closing, bool closes_by_proximity,
                   std::vector<rrensen::Point>& w);

/// A corner's sides and turn, which do not depend on the size.
struct CornerMeasure {
  /// Length and direction (radians, by trig::Atan2) of the incoming side
  /// and of the outgoing one.
  double len_in = 0.0;
  double ang_in = 0.0;
  double len_out = 0.0;
  double ang_out = 0.0;
  /// Half the difference of the directions ("k0"), not reduced to a range,
  /// and |cos half_turn|.
  double half_turn = 0.0;
  double cos_half_turn = 0.0;
};

/// The measure of the corner at `at`, between the side from `prev` and the
/// side to `next`.
CornerMeasure MeasureCorner(const rrensen::Point& prev,
                            const rrensen::Point& at,
                            const rrensen::Point& next);

/// The same for the corner at `at` that follows the corner `previous`
/// measured along an outline: its incoming side is `previous`'s outgoing
/// one, whose length and direction are taken, not measured again (the same
/// bits, one atan2 and one length fewer).
CornerMeasure MeasureNextCorner(const CornerMeasure& previous,
                                const rrensen::Point& at,
                                const rrensen::Point& next);

/// The signed turn from direction `in` to direction `out` (vectors of any
/// length), in (-pi, pi]: atan2 of their cross and dot products, which is
/// accurate to a few ulps at every angle, near 0 and near pi alike (an
/// arccos of the dot product would lose half the digits there). Out of line,
/// like Distance, so that every caller rounds it alike.
double TurnBetween(const rrensen::Point& in, const rrensen::Point& out);

/// Spacing: the length a tested side needs, 2 x size. The side is too short
/// when this is greater than its length.
inline double SideNeeds(double size) { return 2 * size; }

/// Corner point to tangent point at a corner with |cos k0| =
/// `cos_half_turn`: size / (2 |cos k0|), which puts the two tangent points
/// `size` apart.
inline double CutBack(double size, double cos_half_turn) {
  return size * 0.5 / cos_half_turn;
}

/// Whether every option is one of its values (and the relief's largest
/// angle in (0, pi]); Fillet refuses others as Refusal::kInvalidStyle.
bool KnownOptions(const rrensen::FilletOptions& options);

/// Whether `style` is a relief for a cutter (a dogbone, a T-bone).
inline bool IsRelief(rrensen::CornerStyle style) {
  return style == rrensen::CornerStyle::kDogbone ||
         style == rrensen::CornerStyle::kTBone;
}

/// Whether Fillet follows the rrensen tool's own rules for `options`: chord
/// arcs at every corner. Every other style, and any selection of corners,
/// follows the fit rule (corner_styles.h).
inline bool HostRules(const rrensen::FilletOptions& options) {
  return options.style == rrensen::CornerStyle::kChordArc &&
         options.corners == rrensen::CornerSelection::kAll;
}

/// The length each side of a corner needs, one and a half cut-backs. The
/// corner is too sharp when this is greater than either side's length.
inline double CornerNeeds(double cut_back) { return 1.5 * cut_back; }

/// Whether a corner is cut by an arc: its direction changes by more than
/// 10 degrees, |cos k0| below the arc threshold (ArcThreshold()).
inline bool IsArc(double cos_half_turn, double arc_threshold) {
  return cos_half_turn < arc_threshold;
}

/// Whether an arc corner turns exactly back: tan(k0) has no value at
/// k0 = pi/2, so its arc cannot be placed. Only the double 0.5 x pi counts
/// (k0 = -pi/2 gives a huge tangent, and an arc of radius near 0).
inline bool TurnsExactlyBack(double half_turn) {
  return half_turn == 0.5 * trig::kPi;
}

}  // namespace geometry

#endif  // RRENSEN_GEOMETRY_FILLET_RULES_H_
