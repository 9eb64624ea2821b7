#ifndef RRENSEN_DXF_FILLET_DXF_H_
#define RRENSEN_DXF_FILLET_DXF_H_

/// Fillets the corners of every 2-D polyline of an ASCII DXF file with
/// rrensen::FilletPolyline (straight runs filleted, arcs kept) and writes the
/// file again, every other tag byte for byte as it was.

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
  /// 2-D), in file order.
  std::vector<OutlineReport> outlines;
  /// One line for each polyline not wholly filleted, for standard error.
  std::vector<std::string> reports;
  int filleted = 0;        ///< polylines with every run filleted
  int partly = 0;          ///< polylines with some runs left as they were
  int left_unchanged = 0;  ///< polylines left as they were (or skipped)
  int rewritten = 0;       ///< entities whose tags were written anew
};

/// Reads the ASCII DXF `bytes`, fillets its polylines and writes the file.
FilletRun FilletDrawing(std::string_view bytes, const FilletSettings& settings);

/// Whether `close_gap` closes polyline `p`: an open one of three or more
/// vertices whose last vertex lies within the gap of its first. Such a
/// polyline is filleted closed without its last vertex.
bool ClosesByGap(const Polyline& p, const std::optional<double>& close_gap);

/// How a polyline came out of rrensen::FilletPolyline: filleted (no run
/// refused), partly (some corners filleted, some runs refused) or unchanged.
OutlineStatus StatusOf(const rrensen::PolylineResult& f);

}  // namespace dxf

#endif  // RRENSEN_DXF_FILLET_DXF_H_
