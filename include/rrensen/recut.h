#ifndef RRENSEN_RECUT_H_
#define RRENSEN_RECUT_H_

/// Re-cutting corners that were cut before: a polyline filleted (or
/// chamfered) at one size, by this library or another program, is turned
/// back into the sharp outline it was made from, and filleted again at
/// another size or style, or left sharp.
///
///     std::vector<rrensen::BulgeVertex> plate = ...;  // filleted R5
///     rrensen::FilletOptions r2{2.0, rrensen::Closing::kClosed,
///                               rrensen::CornerStyle::kRadiusArc};
///     rrensen::PolylineResult r = rrensen::RecutPolyline(plate, r2, {});
///     // r.vertices: the plate with R2 corners; r.earlier_cuts: how many
///     // R5 arcs were found.
///
/// Values in, values out, like Fillet: no state, any thread.

#include <limits>
#include <vector>

#include "rrensen/export.h"
#include "rrensen/fillet.h"
#include "rrensen/polyline.h"

namespace rrensen {
inline namespace v1 {

/// The tangent tolerance when none is given, in radians. An arc written by
/// a CAD program is tangent to its sides to within the rounding of its
/// end points: about (spacing of doubles at the coordinates) / (chord), some
/// 1e-12 for coordinates near 10^4 and a chord of 1 unit, and still below
/// 1e-9 where a file keeps ten significant digits. 1e-6 (a two-hundredth
/// of a second of arc) is far above both and far below any angle drawn on
/// purpose.
constexpr double kDefaultTangentTolerance = 1e-6;

/// How earlier cuts are told from the rest of a polyline.
struct EarlierCuts {
  /// An arc piece between two straight pieces is an earlier fillet when it
  /// leaves the first and meets the second along their directions, each to
  /// within this angle (radians, 0 or more), sweeps less than half a turn
  /// and its radius is at most `largest_radius`. Arcs of larger radius are
  /// the design's (a round end, a boss) and are kept. A tolerance or
  /// radius that is negative or NaN recognises no arc.
  double tangent_tolerance = kDefaultTangentTolerance;
  double largest_radius = std::numeric_limits<double>::infinity();
  /// A straight piece between two other straight pieces is an earlier
  /// chamfer when it is at most this long (to within a billionth of it)
  /// and the lines of its two neighbours meet beyond its ends, on the side
  /// it cuts off. 0 (the default) takes no piece for a chamfer: by shape
  /// alone a chamfer is a short side. Of two neighbouring pieces that could
  /// both be chamfers, the shorter is (the first of equal ones); the other
  /// is a side. Negative or NaN: no chamfer either.
  double chamfer_max_length = 0.0;
};

/// A sharp corner restored in place of an earlier cut.
struct RestoredCorner {
  /// Its index in SharpOutline::vertices.
  int vertex = 0;
  /// The caller's vertex where the cut began: the cut ran from it to the
  /// next vertex (the first, after the last of a closed polyline).
  int cut_start = 0;
  /// Whether the cut was an arc (a fillet), or a straight chamfer.
  bool arc = false;
};

/// A polyline with its earlier cuts turned back into sharp corners.
struct SharpOutline {
  /// The polyline's vertices with each earlier cut's two replaced by the
  /// point where the lines of its two sides meet (bulge 0). A closed one
  /// starts where the caller's does, or at the corner that took the place
  /// of the cut its first vertex was on.
  std::vector<BulgeVertex> vertices;
  /// For each vertex, the caller's vertex it is (point and bulge
  /// unchanged), or -1 for a restored corner.
  std::vector<int> sources;
  /// Whether it is closed (FilletPolyline's closing rules).
  bool closed = false;
  /// The corners restored, in the order of `vertices`.
  std::vector<RestoredCorner> corners;
};

/// The sharp outline of the polyline through `vertices`, closed as
/// `options.closing` says (as FilletPolyline closes it, with
/// `options.size` for Closing::kByProximity): every earlier cut that `cuts`
/// recognises replaced by its sharp corner. Only the corners that
/// `options.corners` selects are restored (convex and concave against the
/// region of the whole closed polyline, or `options.winding` when given);
/// cuts at the others stay, as every other piece does, bit for bit. An open
/// polyline's first and last pieces have no neighbour beyond them and are
/// never cuts.
RRENSEN_API SharpOutline SharpenPolyline(const std::vector<BulgeVertex>& vertices,
                                         const FilletOptions& options,
                                         const EarlierCuts& cuts);

/// Re-cuts a polyline: SharpenPolyline, then FilletPolyline of the sharp
/// outline with `options`, every rule of FilletPolyline kept. The result
/// is the caller's as FilletPolyline gives it, its indices the caller's:
/// - a restored corner in a refused run gets its earlier cut back (the
///   run is left as it was, old cuts and all); the run's indices, and its
///   problem's, name the cut's vertex on the side they mean (a side that
///   ends at a restored corner ends at the cut's first vertex, one that
///   starts there starts at its last; a corner is the cut's last vertex);
///   its largest size is that of the sharp run; a closed polyline refused
///   as one run goes round from its first vertex after the cut at its
///   start (from vertex 1 when the cut ran from vertex 0 to 1);
/// - size 0 leaves the restored corners sharp: the outline the cuts were
///   made from;
/// - `earlier_cuts` and `earlier_cuts_recut` count the cuts found and
///   those re-cut.
/// A polyline with no earlier cut comes out as FilletPolyline gives it.
RRENSEN_API PolylineResult RecutPolyline(const std::vector<BulgeVertex>& vertices,
                                         const FilletOptions& options,
                                         const EarlierCuts& cuts);

}  // namespace v1
}  // namespace rrensen

#endif  // RRENSEN_RECUT_H_
