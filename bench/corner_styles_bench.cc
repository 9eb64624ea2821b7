// Microbenchmarks of the corner styles: Fillet and LargestFilletSize on a
// zigzag of N points, for N from 1000 to 100000, in each style: open, and
// closed for the reliefs (which need a region to know the cutter's side).
// The time per point, which is the time per corner, should stay flat as N
// grows (both take linear time).

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rrensen/fillet.h"

namespace {

/// A zigzag of `count` points: sides of 100 and 80 units, alternate corners
/// turning left and right by 90 degrees. `closed`: two more points below
/// close it into a battlement, every corner square.
std::vector<rrensen::Point> Zigzag(size_t count, bool closed) {
  std::vector<rrensen::Point> points;
  for (size_t k = 0; k < count; ++k) {
    const double step = static_cast<double>(k / 2);
    points.push_back({100 * step + (k % 2 == 1 ? 100 : 0), k % 4 < 2 ? 0.0 : 80.0});
  }
  if (closed) {
    points.push_back({points.back().x, -200.0});
    points.push_back({0.0, -200.0});
  }
  return points;
}

const rrensen::CornerStyle kStyles[] = {
    rrensen::CornerStyle::kChordArc,       rrensen::CornerStyle::kRadiusArc,
    rrensen::CornerStyle::kDistanceChamfer, rrensen::CornerStyle::kChordChamfer,
    rrensen::CornerStyle::kDogbone,         rrensen::CornerStyle::kTBone};

/// Whether style number `style` is a relief, drawn on a closed outline.
bool IsRelief(int64_t style) { return style >= 4; }

/// Options for style number `style` at `size`.
rrensen::FilletOptions OptionsFor(int64_t style, double size) {
  return {size, IsRelief(style) ? rrensen::Closing::kClosed : rrensen::Closing::kOpen,
          kStyles[style]};
}

void BM_Fillet(benchmark::State& state) {
  const std::vector<rrensen::Point> points =
      Zigzag(static_cast<size_t>(state.range(0)), IsRelief(state.range(1)));
  const rrensen::FilletOptions options = OptionsFor(state.range(1), 5.0);
  for (auto _ : state) {
    rrensen::Outline outline = rrensen::Fillet(points, options);
    if (outline.result != rrensen::Result::kDrawn) state.SkipWithError("refused");
    benchmark::DoNotOptimize(outline.segments.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel("items = points; style " + std::to_string(state.range(1)));
}
BENCHMARK(BM_Fillet)->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2, 3, 4, 5}})->Unit(benchmark::kMicrosecond);

void BM_LargestFilletSize(benchmark::State& state) {
  const std::vector<rrensen::Point> points =
      Zigzag(static_cast<size_t>(state.range(0)), IsRelief(state.range(1)));
  const rrensen::FilletOptions options = OptionsFor(state.range(1), 0.0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rrensen::LargestFilletSize(points, options, 20.0));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel("items = points; style " + std::to_string(state.range(1)));
}
BENCHMARK(BM_LargestFilletSize)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2, 3, 4, 5}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
