#ifndef RRENSEN_GEOMETRY_CORNER_STYLES_H_
#define RRENSEN_GEOMETRY_CORNER_STYLES_H_

/// The corner styles other than kChordArc (radius arcs, distance and chord
/// chamfers): their filleting and their largest size, under the one fit
/// rule that rrensen/fillet.h states with CornerStyle. rrensen::Fillet and
/// rrensen::LargestFilletSize hand every style but kChordArc to these. Not
/// part of the public API.

#include <optional>
#include <vector>

#include "rrensen/fillet.h"

namespace geometry {

/// The cut-back per unit size of a corner turning by `turn` radians
/// (kTurnTolerance <= |turn| <= pi - kTurnTolerance) in `style`, which is
/// not kChordArc: tan(|turn|/2), 1, or 1 / (2 cos(turn/2)); 0 for a style
/// that is none of the enumerators.
double CutBackPerUnitSize(rrensen::CornerStyle style, double turn);

/// rrensen::Fillet for a style other than kChordArc.
rrensen::Outline FilletCornerStyle(const std::vector<rrensen::Point>& points,
                                   const rrensen::FilletOptions& options);

/// rrensen::LargestFilletSize for a style other than kChordArc: exact, in
/// time proportional to the number of points.
std::optional<double> LargestCornerStyleSize(
    const std::vector<rrensen::Point>& points,
    const rrensen::FilletOptions& options, double limit);

}  // namespace geometry

#endif  // RRENSEN_GEOMETRY_CORNER_STYLES_H_
