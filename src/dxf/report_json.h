#ifndef RRENSEN_DXF_REPORT_JSON_H_
#define RRENSEN_DXF_REPORT_JSON_H_

/// The report that rrensen-dxf writes with --report: one JSON object a line
/// for each outline it considered, for scripts, written by JsonWriter (pure
/// ASCII; numbers with the fewest digits that read back as the same double,
/// null where not finite).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rrensen/fillet.h"

namespace dxf {

/// How an outline came out.
enum class OutlineStatus {
  kFilleted,  ///< every run of straight pieces filleted (or there was none)
  kPartly,    ///< some runs filleted, some refused and left as they were
  kUnchanged, ///< every run refused: written as it was
  kSkipped,   ///< not looked at (widths, curve fitting...): see skip_code
};

/// The status as the report names it: "filleted", "partly", "unchanged",
/// "skipped".
const char* StatusName(OutlineStatus status);

/// A run of straight pieces left as it was.
struct RunReport {
  /// Vertex indices from 0, as FilletPolyline gives them; the report
  /// numbers vertices from 1, as the message does. `last_vertex` below
  /// `first_vertex`: the run wraps round the first vertex.
  int first_vertex = 0;
  int last_vertex = 0;
  rrensen::Problem problem;
  std::optional<double> largest_size;
};

/// An entity that an outline is made of.
struct EntityRef {
  std::string type;    ///< "LINE", "ARC", ...
  std::string handle;  ///< empty when it has none
  int line = 0;        ///< line of its "0" tag
};

/// What became of one outline: a polyline entity, or a chain of entities
/// joined into one (kind "chain", with its entities in `parts`).
struct OutlineReport {
  std::string kind = "polyline";
  /// The entity type, "LWPOLYLINE" or "POLYLINE": for a chain the one it
  /// becomes (or would have become, when left as its pieces); empty
  /// (written as null) for a chain that no polyline can stand for in its
  /// file's version.
  std::string type;
  /// Empty when it has none (written as null): for a chain, the handle of
  /// the polyline written for it.
  std::string handle;
  std::string layer;
  int line = 0;  ///< line of the entity's "0" tag; a chain's first piece's
  /// How the corners were cut (or would have been).
  rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc;
  OutlineStatus status = OutlineStatus::kFilleted;
  /// For kSkipped: why, as a code and as a sentence.
  std::string skip_code;
  std::string skip_reason;
  bool closed = false;  ///< as written
  /// The corners asked for (Settings::corners), and whether the selection
  /// applied: not to an open outline, which has no region and has every
  /// corner cut.
  rrensen::CornerSelection corners = rrensen::CornerSelection::kAll;
  bool selection_applied = true;
  int corners_filleted = 0;
  int corners_left = 0;
  /// Corners the selection left sharp.
  int corners_unselected = 0;
  /// Whether earlier cuts were re-cut (Settings::refillet); the cuts
  /// found, and those cut anew (the others are in refused runs).
  bool refillet = false;
  int earlier_cuts = 0;
  int earlier_cuts_recut = 0;
  std::vector<RunReport> refused_runs;
  /// The entities a chain was joined from, in the order the chain runs
  /// through them (its vertex k, from 0, is where part k starts); empty for
  /// a polyline.
  std::vector<EntityRef> parts;
};

/// The report's line for `report`, without a line end:
///
///   {"kind":"polyline","type":"LWPOLYLINE","handle":"2F","layer":"walls",
///    "line":12,"style":"chord","status":"partly","closed":true,"corners_filleted":3,
///    "corners_left":2,"refused_runs":[{"first_vertex":5,"last_vertex":8,
///    "reason":"short_side","message":"the side from point 6 to point 7 is
///    3.000 long and needs 8.000","at_vertex":6,"to_vertex":7,"needed":8.0,
///    "found":3.0,"largest_size":1.5}]}
///
/// A skipped outline has "reason" and "message" instead of the corners and
/// runs. "at_vertex" and "to_vertex" are null where the problem names no
/// vertex, "needed" and "found" where it measures no length, and
/// "largest_size" when no size fillets the run. A chain has "parts": its
/// entities' type, handle and line. A re-cut outline has "earlier_cuts" and
/// "earlier_cuts_recut" after the corners.
std::string ReportLine(const OutlineReport& report);

}  // namespace dxf

#endif  // RRENSEN_DXF_REPORT_JSON_H_
