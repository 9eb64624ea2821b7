// Microbenchmarks: the reader in lines per second over the largest exchange
// file, the builder in outlines per second for a 19-point ring, and the
// largest fillet size of a refused ring of 1000 to 1000000 points, by the
// one-pass search and by the bisection it replaced.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/largest_size_by_bisection.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/exchange_reader.h"
#include "rrensen/fillet.h"
#include "writer/outline_writer.h"

namespace {

std::string LargeExchange() {
  std::string s;
  for (int k = 1; k <= 19; ++k) {
    s += "hp" + std::to_string(k) + "- " +
         std::to_string(200 * std::cos(k / 3.0)) + " " +
         std::to_string(200 * std::sin(k / 3.0)) + "\r\n";
  }
  const char* cycle[] = {"# a comment line of the drawing\r\n",
                         " 10.5 20.25 30.75 40.125\r\n",
                         "ci 1.0 2.0 12.5 0.0 90.0 1.0 45.0\r\n",
                         "ch 1.0 2.0 3 0 \"label\r\n",
                         "lc5\r\n",
                         "ly1f\r\n",
                         "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n",
                         "bz 7\r\n",
                         "pt 3.5 4.5\r\n",
                         "hq\r\n"};
  for (int k = 19; k < 50000; ++k) s += cycle[k % 10];
  return s;
}

void BM_Reader(benchmark::State& state) {
  const std::string input = LargeExchange();
  std::string sink;
  for (auto _ : state) {
    reader::ExchangeContents contents;
    sink.clear();
    platform::OutStream out(&sink, true);
    platform::TextReader in(input);
    reader::ReadExchange(in, reader::ReadOptions{0, reader::kLineLimit, reader::kLineLimit}, out, out, &contents);
    benchmark::DoNotOptimize(contents.points.record_count);
  }
  state.SetItemsProcessed(state.iterations() * 50000);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_Reader)->Unit(benchmark::kMillisecond);

void BM_Builder(benchmark::State& state) {
  std::vector<rrensen::Point> ring;
  for (int k = 1; k <= 18; ++k) {
    double a = 2 * 3.141592653589793 * (k - 1) / 18;
    ring.push_back({200 * std::cos(a), 200 * std::sin(a)});
  }
  ring.push_back(ring.front());
  std::string sink;
  for (auto _ : state) {
    sink.clear();
    platform::OutStream out(&sink, true);
    geometry::FilletTrace trace;
    rrensen::Outline outline = geometry::FilletWithTrace(ring, {5.0}, &trace);
    writer::WriteOutlineRecords(outline, trace, out);
    out.Flush();
    benchmark::DoNotOptimize(sink.size());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("items = outlines");
}
BENCHMARK(BM_Builder);

/// A ring of `count` points about 2 pi apart whose radius wobbles by half a
/// unit, so that no two corners are alike: refused at the default size 5
/// (each side needs 10), drawn up to about 3.1.
std::vector<rrensen::Point> WobblyRing(int count) {
  std::vector<rrensen::Point> ring;
  ring.reserve(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    double a = 2 * 3.141592653589793 * k / count;
    double r = count + 0.5 * std::sin(37 * a);
    ring.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return ring;
}

void BM_LargestSize(benchmark::State& state) {
  const std::vector<rrensen::Point> ring =
      WobblyRing(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(rrensen::LargestFilletSize(ring, {}, 20.0));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel("items = points");
}
BENCHMARK(BM_LargestSize)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

/// The same with the bisection over whole Fillet runs. At a million points
/// one search takes minutes: it is measured up to 100000.
void BM_LargestSizeByBisection(benchmark::State& state) {
  const std::vector<rrensen::Point> ring =
      WobblyRing(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        geometry::by_bisection::LargestFilletSize(ring, {}, 20.0));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel("items = points");
}
BENCHMARK(BM_LargestSizeByBisection)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
