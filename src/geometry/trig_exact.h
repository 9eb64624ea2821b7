#ifndef RRENSEN_GEOMETRY_TRIG_EXACT_H_
#define RRENSEN_GEOMETRY_TRIG_EXACT_H_

/// The slow reference behind trig::Sin, Cos, Tan and Atan2: the same
/// functions evaluated wholly in double-double arithmetic (series of 106
/// bits), rounded once. The public functions first try a short evaluation
/// with a proven error bound and come here only when that bound does not
/// decide the rounding, so both give the same double for every argument.
/// Declared apart from trig.h for the tests and the benchmarks, which check
/// and time the two against each other; nothing else should call these.
namespace trig::internal {

double SinExact(double x);
double CosExact(double x);
double TanExact(double x);
double Atan2Exact(double y, double x);

}  // namespace trig::internal

#endif  // RRENSEN_GEOMETRY_TRIG_EXACT_H_
