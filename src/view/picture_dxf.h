#ifndef RRENSEN_VIEW_PICTURE_DXF_H_
#define RRENSEN_VIEW_PICTURE_DXF_H_

/// Writes plain geometry as a small ASCII DXF drawing (R12 layout, readable
/// by every DXF reader): numbered points, lines and arcs on named layers.
///
///     view::DxfPicture picture;
///     picture.points.push_back({{0, 0}, "1"});
///     view::AddOutline(picture, rrensen::FilletOutline(points, 5.0),
///                     view::kOutlineLayer);
///     std::string text = view::DrawingDxf(picture);

#include <string>
#include <vector>

#include "rrensen/fillet.h"

namespace view {

/// The layers the preview uses.
inline constexpr const char* kPointsLayer = "points";
inline constexpr const char* kOutlineLayer = "outline";
inline constexpr const char* kRefusedLayer = "refused";
inline constexpr const char* kRecordsLayer = "records";

/// A point, drawn as a POINT entity with its label as TEXT beside it, both
/// on layer "points".
struct PicturePoint {
  rrensen::Point at;
  std::string label;
};

struct PictureLine {
  rrensen::Point from;
  rrensen::Point to;
  std::string layer = kOutlineLayer;
};

/// A circular arc from `start_degrees` to `end_degrees`, counter-clockwise,
/// angles measured from the x axis.
struct PictureArc {
  rrensen::Point centre;
  double radius = 0.0;
  double start_degrees = 0.0;
  double end_degrees = 0.0;
  std::string layer = kOutlineLayer;
};

struct DxfPicture {
  std::vector<PicturePoint> points;
  std::vector<PictureLine> lines;
  std::vector<PictureArc> arcs;
  /// Height of the point labels, in drawing units.
  double label_height = 2.5;
};

/// Adds the lines and arcs of a drawn outline on `layer`. An arc that turns
/// clockwise along the outline is written from its end to its start, since
/// DXF arcs run counter-clockwise.
void AddOutline(DxfPicture& picture, const rrensen::Outline& outline,
                const std::string& layer);

/// The picture as a complete DXF file: a header, a layer table naming every
/// layer used (layer names must be valid DXF names), and the entities; LF
/// line ends, coordinates written losslessly.
std::string DrawingDxf(const DxfPicture& picture);

}  // namespace view

#endif  // RRENSEN_VIEW_PICTURE_DXF_H_
