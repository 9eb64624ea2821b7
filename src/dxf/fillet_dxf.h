#ifndef RRENSEN_DXF_FILLET_DXF_H_
#define RRENSEN_DXF_FILLET_DXF_H_

/// Fillets the corners of every 2-D polyline of an ASCII DXF file with
/// rrensen::FilletOutline and writes the file again, every other tag byte
/// for byte as it was.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rrensen/fillet.h"

namespace dxf {

/// A polyline vertex: the point where a piece starts, and the piece's bulge,
/// tan(sweep / 4), positive for a counter-clockwise arc and 0 for a line.
struct BulgeVertex {
  rrensen::Point point;
  double bulge = 0.0;
};

/// A polyline's new shape.
struct FilletedPolyline {
  /// The library's answer, with the refusal's reason when not drawn.
  rrensen::Outline outline;
  /// The points passed to the library: the vertices, and for a closed
  /// polyline the first vertex once more, so that the closing rule closes
  /// it. Problem indices refer to these.
  std::vector<rrensen::Point> points;
  /// Whether the polyline is written closed.
  bool closed = false;
  /// The vertices to write, empty when refused.
  std::vector<BulgeVertex> vertices;
};

/// Fillets the polyline through `vertices` (closed: the last vertex joins
/// the first). A closed polyline whose last vertex repeats the first loses
/// the repeat. An open one is closed when the library's closing rule closes
/// it. Points where two vertices would fall together (a fillet of size 0)
/// are written once.
FilletedPolyline FilletPolyline(std::vector<rrensen::Point> vertices,
                                bool closed, double size);

/// The vertices and bulges of a drawn outline: each segment's start, and
/// for an open outline the end of the last.
std::vector<BulgeVertex> BulgeVerticesOf(const rrensen::Outline& outline);

/// What to fillet.
struct FilletSettings {
  double size = 5.0;
  /// Only polylines on this layer (compared without regard to ASCII case).
  std::optional<std::string> layer;
};

/// What a run did.
struct FilletRun {
  /// Empty when the file was read; else why not, and the line at fault
  /// (0 when none).
  std::string error;
  int error_line = 0;
  /// The file with its polylines filleted.
  std::string output;
  /// One line for each polyline left unchanged, for standard error.
  std::vector<std::string> reports;
  int filleted = 0;        ///< polylines rewritten
  int left_unchanged = 0;  ///< polylines that could not be filleted
};

/// Reads the ASCII DXF `bytes`, fillets its polylines and writes the file.
FilletRun FilletDrawing(std::string_view bytes, const FilletSettings& settings);

}  // namespace dxf

#endif  // RRENSEN_DXF_FILLET_DXF_H_
