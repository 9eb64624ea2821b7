#include "view/picture_dxf.h"

#include <cstddef>
#include <set>

#include "dxf/number_text.h"
#include "dxf/tag_writer.h"
#include "geometry/angles.h"
#include "geometry/trig.h"

namespace view {
namespace {

/// Direction from `centre` to `p` in degrees, 0 to below 360.
double DegreesFrom(const rrensen::Point& centre, const rrensen::Point& p) {
  double degrees =
      geometry::Degrees(trig::Atan2(p.y - centre.y, p.x - centre.x));
  return degrees < 0.0 ? degrees + 360.0 : degrees;
}

/// Appends tags in the layout most writers use: the group code
/// right-aligned in three columns, LF line ends.
class TagText {
 public:
  void Add(int code, const std::string& value) {
    dxf::AppendTag(text_, dxf::TagLayout{}, code, value);
  }
  void Add(int code, double value) { Add(code, dxf::FormatCoordinate(value)); }
  void AddPoint(int code, const rrensen::Point& p) {
    Add(code, p.x);
    Add(code + 10, p.y);
    Add(code + 20, 0.0);
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

/// A colour for each of the preview's layers, white for any other.
int LayerColour(const std::string& layer) {
  if (layer == kPointsLayer) return 1;   // red
  if (layer == kOutlineLayer) return 5;  // blue
  if (layer == kRefusedLayer) return 6;  // magenta
  if (layer == kRecordsLayer) return 3;  // green
  return 7;
}

}  // namespace

void AddOutline(DxfPicture& picture, const rrensen::Outline& outline,
                const std::string& layer) {
  for (const rrensen::Segment& s : outline.segments) {
    if (!s.is_arc) {
      picture.lines.push_back({s.start, s.end, layer});
      continue;
    }
    // DXF arcs run counter-clockwise: a clockwise one from its end.
    const bool clockwise = s.sweep < 0.0;
    const rrensen::Point& from = clockwise ? s.end : s.start;
    const rrensen::Point& to = clockwise ? s.start : s.end;
    picture.arcs.push_back({s.centre, s.radius, DegreesFrom(s.centre, from),
                            DegreesFrom(s.centre, to), layer});
  }
}

std::string DrawingDxf(const DxfPicture& picture) {
  std::set<std::string> layers = {"0"};
  if (!picture.points.empty()) layers.insert(kPointsLayer);
  for (const PictureLine& l : picture.lines) layers.insert(l.layer);
  for (const PictureArc& a : picture.arcs) layers.insert(a.layer);

  TagText t;
  t.Add(0, "SECTION");
  t.Add(2, "HEADER");
  t.Add(9, "$ACADVER");
  t.Add(1, "AC1009");
  t.Add(0, "ENDSEC");

  t.Add(0, "SECTION");
  t.Add(2, "TABLES");
  t.Add(0, "TABLE");
  t.Add(2, "LTYPE");
  t.Add(70, "1");
  t.Add(0, "LTYPE");
  t.Add(2, "CONTINUOUS");
  t.Add(70, "0");
  t.Add(3, "Solid line");
  t.Add(72, "65");
  t.Add(73, "0");
  t.Add(40, 0.0);
  t.Add(0, "ENDTAB");
  t.Add(0, "TABLE");
  t.Add(2, "LAYER");
  t.Add(70, std::to_string(layers.size()));
  for (const std::string& layer : layers) {
    t.Add(0, "LAYER");
    t.Add(2, layer);
    t.Add(70, "0");
    t.Add(62, std::to_string(LayerColour(layer)));
    t.Add(6, "CONTINUOUS");
  }
  t.Add(0, "ENDTAB");
  t.Add(0, "ENDSEC");

  t.Add(0, "SECTION");
  t.Add(2, "ENTITIES");
  // Labels sit up and to the right of their point, a third of their height
  // away.
  const double gap = picture.label_height / 3.0;
  for (const PicturePoint& p : picture.points) {
    t.Add(0, "POINT");
    t.Add(8, kPointsLayer);
    t.AddPoint(10, p.at);
    t.Add(0, "TEXT");
    t.Add(8, kPointsLayer);
    t.AddPoint(10, {p.at.x + gap, p.at.y + gap});
    t.Add(40, picture.label_height);
    t.Add(1, p.label);
  }
  for (const PictureLine& l : picture.lines) {
    t.Add(0, "LINE");
    t.Add(8, l.layer);
    t.AddPoint(10, l.from);
    t.AddPoint(11, l.to);
  }
  for (const PictureArc& a : picture.arcs) {
    t.Add(0, "ARC");
    t.Add(8, a.layer);
    t.AddPoint(10, a.centre);
    t.Add(40, a.radius);
    t.Add(50, a.start_degrees);
    t.Add(51, a.end_degrees);
  }
  t.Add(0, "ENDSEC");
  t.Add(0, "EOF");
  return std::move(t.text());
}

}  // namespace view
