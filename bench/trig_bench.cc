// The tool's own sin, cos, tan and atan2 (trig::) against the C library's
// and against the exact double-double path they fall back on, each over the
// same arrays of random arguments: angles uniform in [-3.2, 3.2], and for
// atan2 coordinate differences uniform in [-1000, 1000]. The counter
// ns_per_call is the time of one call.
//   build/default/bench/trig_bench

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/trig.h"
#include "geometry/trig_exact.h"

namespace {

constexpr size_t kCount = 4096;

std::vector<double> Uniform(double low, double high, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> dist(low, high);
  std::vector<double> v(kCount);
  for (double& d : v) d = dist(rng);
  return v;
}

const std::vector<double>& Angles() {
  static const std::vector<double> v = Uniform(-3.2, 3.2, 1);
  return v;
}
const std::vector<double>& Ys() {
  static const std::vector<double> v = Uniform(-1000.0, 1000.0, 2);
  return v;
}
const std::vector<double>& Xs() {
  static const std::vector<double> v = Uniform(-1000.0, 1000.0, 3);
  return v;
}

void PerCall(benchmark::State& state) {
  state.counters["ns_per_call"] = benchmark::Counter(
      static_cast<double>(kCount),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <double (*F)(double)>
void Unary(benchmark::State& state) {
  const std::vector<double>& a = Angles();
  for (auto _ : state) {
    double sum = 0;
    for (double x : a) sum += F(x);
    benchmark::DoNotOptimize(sum);
  }
  PerCall(state);
}

template <double (*F)(double, double)>
void Binary(benchmark::State& state) {
  const std::vector<double>& y = Ys();
  const std::vector<double>& x = Xs();
  for (auto _ : state) {
    double sum = 0;
    for (size_t k = 0; k < kCount; ++k) sum += F(y[k], x[k]);
    benchmark::DoNotOptimize(sum);
  }
  PerCall(state);
}

// The C library's functions through plain pointers, so that every variant
// is an ordinary call.
double LibSin(double x) { return std::sin(x); }
double LibCos(double x) { return std::cos(x); }
double LibTan(double x) { return std::tan(x); }
double LibAtan2(double y, double x) { return std::atan2(y, x); }

BENCHMARK(Unary<trig::Sin>)->Name("Sin/trig");
BENCHMARK(Unary<LibSin>)->Name("Sin/libc");
BENCHMARK(Unary<trig::internal::SinExact>)->Name("Sin/exact");
BENCHMARK(Unary<trig::Cos>)->Name("Cos/trig");
BENCHMARK(Unary<LibCos>)->Name("Cos/libc");
BENCHMARK(Unary<trig::internal::CosExact>)->Name("Cos/exact");
BENCHMARK(Unary<trig::Tan>)->Name("Tan/trig");
BENCHMARK(Unary<LibTan>)->Name("Tan/libc");
BENCHMARK(Unary<trig::internal::TanExact>)->Name("Tan/exact");
BENCHMARK(Binary<trig::Atan2>)->Name("Atan2/trig");
BENCHMARK(Binary<LibAtan2>)->Name("Atan2/libc");
BENCHMARK(Binary<trig::internal::Atan2Exact>)->Name("Atan2/exact");

}  // namespace

BENCHMARK_MAIN();
