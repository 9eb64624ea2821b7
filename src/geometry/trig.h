#ifndef RRENSEN_GEOMETRY_TRIG_H_
#define RRENSEN_GEOMETRY_TRIG_H_

/// sin, cos, tan and atan2 computed by the tool itself, so that the Linux and
/// the Windows build write the same digits: C runtimes may differ in the last
/// bit of these functions, which can move the twelfth decimal of a record. Each
/// works in double-double arithmetic (about 106 bits) from IEEE additions,
/// multiplications, divisions and square roots only, and rounds once at the
/// end. (A short evaluation with a proven error bound answers first whenever
/// that bound decides the rounding, which is nearly always; it gives the same
/// double, see trig_exact.h.) For the angles a drawing has (sin, cos and tan of
/// arguments up to a few thousand radians, any atan2) the result is the
/// correctly rounded value in all but vanishingly rare cases. Larger arguments
/// are reduced with a 106-bit pi, which loses accuracy as they grow; the result
/// is still the same on every platform, which is what the tool needs. Special
/// values (zeros, infinities, nan) follow the C standard; sin, cos and tan of
/// arguments of 2^900 or more in size give nan.
namespace trig {

/// The double nearest to pi: the one value of pi in the tool. Every
/// conversion to degrees divides by it.
constexpr double kPi = 3.141592653589793;

double Sin(double x);
double Cos(double x);
double Tan(double x);
double Atan2(double y, double x);

}  // namespace trig

#endif  // RRENSEN_GEOMETRY_TRIG_H_
