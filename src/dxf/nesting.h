#ifndef RRENSEN_DXF_NESTING_H_
#define RRENSEN_DXF_NESTING_H_

/// Which closed outlines of a drawing are holes, for reliefs: a cutter runs
/// outside a part and inside a hole. A hole is an outline inside an odd
/// number of the others (a plate's window, but not a boss inside that
/// window).

#include <vector>

#include "rrensen/polyline.h"

namespace dxf {

/// For each closed outline (its vertices, bulges counted), whether it is a
/// hole. An outline is inside another when its first vertex is, by the
/// even-odd rule, against the other as a polygon of its vertices and of
/// points along its arcs at most 11.25 degrees apart: near enough for
/// outlines that do not cross, which is what parts and their holes are
/// (a vertex within half a percent of an arc's radius of it may count
/// either way).
std::vector<bool> Holes(
    const std::vector<std::vector<rrensen::BulgeVertex>>& outlines);

}  // namespace dxf

#endif  // RRENSEN_DXF_NESTING_H_
