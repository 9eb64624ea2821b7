// Microbenchmarks of the corner styles: Fillet and LargestFilletSize on an
// open zigzag of N points, for N from 1000 to 100000, in each style. The
// time per point should stay flat as N grows (both take linear time).

#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "rrensen/fillet.h"

namespace {

/// A zigzag of `count` points: sides of 100 and 80 units, alternate corners
/// turning left and right by about 90 degrees.
std::vector<rrensen::Point> Zigzag(size_t count) {
  std::vector<rrensen::Point> points;
  for (size_t k = 0; k < count; ++k) {
    const double step = static_cast<double>(k / 2);
    points.push_back({100 * step + (k % 2 == 1 ? 100 : 0), k % 4 < 2 ? 0.0 : 80.0});
  }
  return points;
}

const rrensen::CornerStyle kStyles[] = {
    rrensen::CornerStyle::kChordArc, rrensen::CornerStyle::kRadiusArc,
    rrensen::CornerStyle::kDistanceChamfer, rrensen::CornerStyle::kChordChamfer};

void BM_Fillet(benchmark::State& state) {
  const std::vector<rrensen::Point> points = Zigzag(static_cast<size_t>(state.range(0)));
  const rrensen::FilletOptions options{5.0, rrensen::Closing::kOpen,
                                       kStyles[state.range(1)]};
  for (auto _ : state) {
    rrensen::Outline outline = rrensen::Fillet(points, options);
    benchmark::DoNotOptimize(outline.segments.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel("items = points; style " + std::to_string(state.range(1)));
}
BENCHMARK(BM_Fillet)->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2, 3}})->Unit(benchmark::kMicrosecond);

void BM_LargestFilletSize(benchmark::State& state) {
  const std::vector<rrensen::Point> points = Zigzag(static_cast<size_t>(state.range(0)));
  const rrensen::FilletOptions options{0.0, rrensen::Closing::kOpen,
                                       kStyles[state.range(1)]};
  for (auto _ : state) {
    benchmark::DoNotOptimize(rrensen::LargestFilletSize(points, options, 20.0));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel("items = points; style " + std::to_string(state.range(1)));
}
BENCHMARK(BM_LargestFilletSize)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
