// Microbenchmarks: the reader in lines per second over the largest exchange
// file, and the builder in outlines per second for a 19-point ring.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

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

}  // namespace

BENCHMARK_MAIN();
