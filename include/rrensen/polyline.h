#ifndef RRENSEN_POLYLINE_H_
#define RRENSEN_POLYLINE_H_

/// Chord-length filleting of polylines that may already have arcs, as CAD
/// files carry them: a list of vertices, each with the bulge of the piece
/// that starts there. The straight parts are filleted, the arcs are kept.
///
///     std::vector<rrensen::BulgeVertex> plate = {
///         {{0, 0}}, {{100, 0}}, {{100, 50}, 0.4142135623730951}, {{50, 100}},
///         {{0, 100}}};
///     rrensen::PolylineResult r =
///         rrensen::FilletPolyline(plate, {5.0, rrensen::Closing::kClosed});
///     // r.vertices: the new outline; r.refused_runs: what was left and why.
///
/// Values in, values out, like Fillet: no state, any thread.

#include <optional>
#include <vector>

#include "rrensen/export.h"
#include "rrensen/fillet.h"

namespace rrensen {
inline namespace v1 {

/// A polyline vertex: the point where a piece starts, and that piece's
/// bulge, tan(sweep / 4): 0 for a straight piece, positive for an arc that
/// turns counter-clockwise, as DXF's group code 42 holds it. The piece runs
/// to the next vertex (from the last vertex of a closed polyline to the
/// first; the last bulge of an open polyline draws nothing).
struct BulgeVertex {
  Point point;
  double bulge = 0.0;
};

/// A run of straight pieces that could not be filleted: it is left as it
/// was, vertex for vertex and bit for bit.
struct RefusedRun {
  /// Indices into the caller's vertices of the run's first and last vertex.
  /// In a closed polyline a run may wrap around past the last vertex to the
  /// first: then `last_vertex` is smaller than `first_vertex`. A closed
  /// polyline with no arc is one run from vertex 0 to its last vertex, with
  /// the closing piece.
  int first_vertex = 0;
  int last_vertex = 0;
  /// Why Fillet refused it, with `point` and `next_point` mapped to the
  /// caller's vertex indices.
  Problem problem;
  /// The largest size that fillets the run, in the style asked for, as
  /// LargestFilletSize finds it with no limit: for kChordArc a whole number
  /// of thousandths, for the other styles exact to the last bit (one double
  /// more is refused); none when no size does.
  std::optional<double> largest_size;
};

/// What FilletPolyline made of a polyline.
struct PolylineResult {
  /// The new polyline. A closed one starts at the caller's first vertex, or
  /// where the cut of the corner at it begins when that corner was filleted.
  std::vector<BulgeVertex> vertices;
  /// For each new vertex, the index of the caller's vertex it is (point and
  /// bulge unchanged), or -1 for a vertex the filleting made.
  std::vector<int> sources;
  /// Whether the new polyline is closed.
  bool closed = false;
  /// Corners where two straight pieces meet: those filleted, and those left
  /// in refused runs. A corner where an arc meets a piece is neither: it is
  /// kept as it is.
  int corners_filleted = 0;
  int corners_left = 0;
  /// Corners where two straight pieces meet that FilletOptions::corners did
  /// not select, in the runs filleted: kept sharp, and not counted above.
  int corners_unselected = 0;
  /// For RecutPolyline: the earlier cuts found and turned back into sharp
  /// corners, and those of them filleted anew (the others are in refused
  /// runs, and kept). 0 from FilletPolyline.
  int earlier_cuts = 0;
  int earlier_cuts_recut = 0;
  /// The runs left unchanged, in the order of the polyline.
  std::vector<RefusedRun> refused_runs;
};

/// Fillets the straight parts of the polyline through `vertices` with cuts
/// `options.size` wide (see Fillet) and keeps its arcs.
///
/// Closing (`options.closing`):
/// - kOpen: the polyline runs from its first vertex to its last;
/// - kClosed: the last vertex joins the first; a last vertex on the very
///   point of the first is the first once more and is dropped;
/// - kByProximity: the host's rule: closed when the last vertex lies closer
///   than 2 x size to the first; the last vertex is then dropped, and the
///   piece that ended there ends at the first vertex (an arc keeps its
///   bulge).
///
/// The rules:
/// - every maximal run of two or more straight pieces (bulge 0) is filleted
///   as an open outline (Closing::kOpen): its inner corners are cut, its two
///   end vertices stay where they are;
/// - arcs are kept: same end points, the same bulge bit for bit; a corner
///   where an arc meets a piece is left as it is;
/// - runs are independent: a run that Fillet refuses is left unchanged and
///   reported in `refused_runs`, and the others are filleted;
/// - a closed polyline with no arc is one closed outline (Closing::kClosed),
///   the corner at its first vertex filleted too; in a closed polyline with
///   arcs a run may wrap around its first vertex;
/// - a selection of corners (FilletOptions::corners) is measured against
///   the region of the whole closed polyline, its arcs counted (with
///   Winding::kOfTheOutline; a winding given is used as it is): each run
///   is filleted with that winding. An open polyline has no region: every
///   corner is selected;
/// - size 0 cuts nothing: each corner stays on its vertex, and no arc is
///   added;
/// - a vertex where a new piece would have no length (two vertices that
///   fall together) is written once.
RRENSEN_API PolylineResult FilletPolyline(
    const std::vector<BulgeVertex>& vertices, const FilletOptions& options);

}  // namespace v1
}  // namespace rrensen

#endif  // RRENSEN_POLYLINE_H_
