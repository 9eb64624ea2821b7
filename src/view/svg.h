#ifndef RRENSEN_VIEW_SVG_H_
#define RRENSEN_VIEW_SVG_H_

#include <string>
#include <vector>

#include "view.h"

namespace view {

/// A standalone SVG picture of an exchange file: the drawing records it
/// holds, its indicated points (numbered) and, when it has points, the
/// outline the tool would write for them, each corner's radius in a title,
/// or the side or corner that refuses it. The drawing's y axis points up;
/// the view box fits the content with a margin; a scale bar shows drawing
/// units. Elements carry the classes "line", "arc", "circle", "point" and
/// "failure".
std::string Svg(const Preview& preview, const std::string& caption);

}  // namespace view

#endif  // RRENSEN_VIEW_SVG_H_
