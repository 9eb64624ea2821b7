// Writes a sample picture with view::DrawingDxf to standard output: the
// numbered points of an outline that turns both ways, the outline filleted
// at size 5, and a refused side. The round-trip test reads it with ezdxf.

#include <iostream>
#include <string>
#include <vector>

#include "view/picture_dxf.h"

int main() {
  const std::vector<rrensen::Point> points = {
      {0, 0}, {80, 0}, {80, 40}, {120, 40}, {120, 90}, {30, 70}, {0, 30}};
  view::DxfPicture picture;
  for (size_t k = 0; k < points.size(); ++k) {
    picture.points.push_back({points[k], std::to_string(k + 1)});
  }
  view::AddOutline(picture, rrensen::FilletOutline(points, 5.0),
                  view::kOutlineLayer);
  picture.lines.push_back({points[1], points[2], view::kRefusedLayer});
  std::cout << view::DrawingDxf(picture);
  return 0;
}
