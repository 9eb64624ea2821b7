#ifndef RRENSEN_DXF_FILLET_DXF_H_
#define RRENSEN_DXF_FILLET_DXF_H_

/// Fillets the corners of every 2-D polyline of an ASCII DXF file with
/// rrensen::FilletPolyline (straight runs filleted, arcs kept), and on
/// request first chains its LINE and ARC entities into polylines, and writes
/// the file again, every other tag byte for byte as it was.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/report_json.h"
#include "rrensen/polyline.h"

namespace dxf {

/// What to fillet.
struct FilletSettings {
  double size = 5.0;
  rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc;
  /// Only polylines on this layer (compared without regard to ASCII case).
  std::optional<std::string> layer;
  /// When set, an open polyline of three or more vertices whose last vertex
  /// lies within this distance of its first (distance <= gap) is closed:
  /// its last vertex is dropped and its closed flag set.
  std::optional<double> close_gap;
  /// When set (--join), the model-space LINE and ARC entities (on `layer`,
  /// when that is set) whose ends meet within this gap are chained
  /// (ChainPieces) into new polylines, which are filleted like the others.
  /// A chain none of whose corners can be filleted is left as its pieces.
  std::optional<double> join_gap;
};

/// What a run did.
struct FilletRun {
  /// Empty when the file was read; else why not, and the line at fault
  /// (0 when none).
  std::string error;
  int error_line = 0;
  /// The file with its polylines filleted where they could be and unchanged
  /// elsewhere.
  std::string output;
  /// What became of each polyline considered (on the layer asked for, and
  /// 2-D) and of each chain, in file order (a chain where its first piece
  /// was).
  std::vector<OutlineReport> outlines;
  /// One line for each polyline or chain not wholly filleted, for standard
  /// error.
  std::vector<std::string> reports;
  int filleted = 0;        ///< polylines with every run filleted
  int partly = 0;          ///< polylines with some runs left as they were
  int left_unchanged = 0;  ///< polylines left as they were (or skipped)
  /// Chains: every run filleted, some runs left, none filleted (left as
  /// their pieces, or skipped).
  int chains_filleted = 0;
  int chains_partly = 0;
  int chains_left = 0;
  /// The polylines written for chains, and the LINE and ARC entities they
  /// took.
  int joined_polylines = 0;
  int joined_lines = 0;
  int joined_arcs = 0;
  int rewritten = 0;  ///< entities whose tags were written anew
};

/// Reads the ASCII DXF `bytes`, fillets its polylines and writes the file.
FilletRun FilletDrawing(std::string_view bytes, const FilletSettings& settings);

/// Whether `close_gap` closes the polyline through `vertices`: an open one
/// of three or more vertices whose last vertex lies within the gap of its
/// first. Such a polyline is filleted closed without its last vertex.
bool ClosesByGap(const std::vector<rrensen::BulgeVertex>& vertices,
                 bool closed, const std::optional<double>& close_gap);

/// How a polyline came out of rrensen::FilletPolyline: filleted (no run
/// refused), partly (some corners filleted, some runs refused) or unchanged.
OutlineStatus StatusOf(const rrensen::PolylineResult& f);

}  // namespace dxf

#endif  // RRENSEN_DXF_FILLET_DXF_H_
