#ifndef RRENSEN_GEOMETRY_ANGLES_H_
#define RRENSEN_GEOMETRY_ANGLES_H_

#include "geometry/trig.h"

namespace geometry {

/// Radians in degrees, multiplied by 180 first and divided by pi, as every
/// angle the tool writes is converted.
inline double Degrees(double radians) { return radians * 180.0 / trig::kPi; }

/// Degrees in radians, multiplied by pi first and divided by 180: the one
/// conversion back. Radians(d) / 2 is exactly d * pi / 360 as well, since
/// halving is exact.
inline double Radians(double degrees) { return degrees * trig::kPi / 180.0; }

/// The point `radius` from `centre` in the direction `degrees`
/// (counter-clockwise from the x axis), with the project's own sin and cos:
/// the same bits on every platform.
inline void PointAtDegrees(double cx, double cy, double radius,
                           double degrees, double* x, double* y) {
  const double t = Radians(degrees);
  *x = cx + radius * trig::Cos(t);
  *y = cy + radius * trig::Sin(t);
}

/// The arc threshold: cos 5 degrees. A corner whose |cos k0| (half its
/// direction change k0) is below it turns by more than 10 degrees and gets
/// an arc; a flatter one a chord.
inline double ArcThreshold() { return trig::Cos(trig::kPi / 36); }

}  // namespace geometry

#endif  // RRENSEN_GEOMETRY_ANGLES_H_
