#ifndef RRENSEN_GEOMETRY_FILLET_TRACE_H_
#define RRENSEN_GEOMETRY_FILLET_TRACE_H_

/// The filleting's working values, which only the rrensen tool shows: its
/// level-2 debug trace and its arc records are written from them, in the
/// host's own terms and units. Not part of the public API.

#include <vector>

#include "rrensen/fillet.h"

namespace geometry {

/// A corner as the corner pass computed it, in the host's terms.
struct CornerTrace {
  bool is_arc = false;
  /// Half the difference of the outgoing and the incoming direction, in
  /// radians, not reduced to a range ("k0").
  double half_turn = 0.0;
  /// |cos half_turn| ("a"): the corner is an arc when it is below the arc
  /// threshold.
  double cos_half_turn = 0.0;
  /// The signed radius ("re") the centre was placed with: positive for a
  /// left turn. A chord corner has no arc of its own and carries the value
  /// of the arc corner before it (0 when there was none).
  double signed_radius = 0.0;
  /// Corner point to tangent point ("lenx").
  double cut_back = 0.0;
  /// The tangent points as the host places them: from each side's first
  /// point along the side's direction (an angle), which the records' lines
  /// join. The public Corner measures them along the sides from the corner
  /// point instead; the two differ in the last bits.
  rrensen::Point tangent_in;
  rrensen::Point tangent_out;
  /// The centre placed `signed_radius` to the left of the incoming side
  /// (from the host's tangent point),
  /// and |signed_radius|: a chord corner's are those of the arc before it.
  rrensen::Point centre;
  double radius = 0.0;
  /// Half the real direction change, in degrees, 0 to 90.
  double half_sweep_degrees = 0.0;
  /// Direction from the centre to the corner point, degrees, -180 to 180.
  double tilt_degrees = 0.0;
};

/// What the passes looked at, as far as they got.
struct FilletTrace {
  /// The points the passes worked on: the caller's points, where a closed
  /// outline ends with the first point again and a copy of the second.
  std::vector<rrensen::Point> working_points;
  /// The lengths of the sides the spacing test compared with twice the
  /// size, in order, up to the failing one.
  std::vector<double> side_lengths;
  /// The corners the corner pass reached, in order (a corner refused for
  /// sharpness or reversal is not here; one refused as not finite is, last).
  /// For a drawn outline, one for each of Outline::corners.
  std::vector<CornerTrace> corners;
  /// For a drawn outline, its segments as the host's records draw them: the
  /// outline's, with the lines joining the host's tangent points.
  std::vector<rrensen::Segment> segments;
};

/// The arc record the host reads for an arc corner: centre, radius, start
/// and end angle counted counter-clockwise from the tilt, and the tilt, all
/// angles in degrees.
struct HostArc {
  rrensen::Point centre;
  double radius = 0.0;
  double start_degrees = 0.0;
  double end_degrees = 0.0;
  double tilt_degrees = 0.0;
};

HostArc HostArcOf(const CornerTrace& corner);

/// rrensen::Fillet, which also fills `trace` (when not null) with the
/// working values.
rrensen::Outline FilletWithTrace(const std::vector<rrensen::Point>& points,
                                 const rrensen::FilletOptions& options,
                                 FilletTrace* trace);

}  // namespace geometry

#endif  // RRENSEN_GEOMETRY_FILLET_TRACE_H_
