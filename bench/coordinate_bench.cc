// Writing coordinates as rrensen-dxf does: WriteCoordinate alone and
// AppendCoordinateTag into a string, one call per iteration, over a fixed
// array of values. "long" values have 16 or 17 significant digits, as
// filleted points do (12345.678901234567); "short" ones are what drawings
// are made of (100.0, 3.5, 12.25).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "dxf/number_text.h"
#include "dxf/tag_writer.h"

namespace {

constexpr size_t kValues = 1024;  // a power of two: the index wraps by a mask

std::vector<double> Values(bool long_values) {
  std::vector<double> values;
  for (size_t k = 0; k < kValues; ++k) {
    const double x = static_cast<double>(k);
    if (long_values) {
      // Points on arcs of radius up to 20000 round a centre away from the
      // origin: all their digits are significant, and half are negative.
      values.push_back(1000.0 * x * std::cos(x) + 12345.678901234567 *
                                                      std::sin(x / 7.0));
    } else {
      values.push_back(k % 4 == 0 ? 100.0 * x : (x - 512.0) / 4.0);
    }
  }
  return values;
}

void BM_WriteCoordinate(benchmark::State& state) {
  const std::vector<double> values = Values(state.range(0) != 0);
  char text[dxf::kCoordinateBytes];
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(dxf::WriteCoordinate(text, values[k++ % kValues]));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WriteCoordinate)->ArgName("long")->Arg(1)->Arg(0);

void BM_AppendCoordinateTag(benchmark::State& state) {
  const std::vector<double> values = Values(state.range(0) != 0);
  const dxf::TagLayout layout;
  std::string out;
  out.reserve(kValues * 32);
  size_t k = 0;
  for (auto _ : state) {
    if (k % kValues == 0) out.clear();  // keeps the capacity
    dxf::AppendCoordinateTag(out, layout, 10, values[k++ % kValues]);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendCoordinateTag)->ArgName("long")->Arg(1)->Arg(0);

}  // namespace

BENCHMARK_MAIN();
