#ifndef RRENSEN_VIEW_SVG_H_
#define RRENSEN_VIEW_SVG_H_

#include <string>
#include <vector>

#include "view.h"

namespace view {

/// A standalone SVG picture of an exchange file: the drawing records it
/// holds, its indicated points (numbered) and, when given, the outline the
/// tool would write for them, each corner's radius in a title. The drawing's
/// y axis points up; the view box fits the content with a margin; a scale
/// bar shows drawing units. Elements carry the classes "line", "arc",
/// "circle" and "point".
std::string Svg(const std::vector<Point>& points, const Drawing& records,
                const Outline* outline, const std::string& caption);

}  // namespace view

#endif  // RRENSEN_VIEW_SVG_H_
