#ifndef RRENSEN_GEOMETRY_POLYLINE_REGION_H_
#define RRENSEN_GEOMETRY_POLYLINE_REGION_H_

/// How a polyline with arcs closes, and the region a closed one goes
/// round, which a selection of corners and the side of reliefs are measured
/// against. Not part of the public API.

#include <vector>

#include "rrensen/polyline.h"

namespace geometry {

/// Applies FilletPolyline's closing rule to `vertices` (see
/// rrensen::Closing; `size` for kByProximity): drops a last vertex the
/// closing drops, and says whether the polyline is closed.
bool ApplyClosing(std::vector<rrensen::BulgeVertex>& vertices,
                  rrensen::Closing closing, double size);

/// Twice the signed area the closed polyline through `vertices` encloses,
/// its arcs counted: positive when it goes round counter-clockwise.
double TwiceSignedArea(const std::vector<rrensen::BulgeVertex>& vertices);

/// Which way the closed polyline through `vertices` goes round its region,
/// by the sign of TwiceSignedArea; Winding::kOfTheOutline (no region) when
/// it encloses no area or has no vertex.
rrensen::Winding PolylineWinding(const std::vector<rrensen::BulgeVertex>& vertices);

}  // namespace geometry

#endif  // RRENSEN_GEOMETRY_POLYLINE_REGION_H_
