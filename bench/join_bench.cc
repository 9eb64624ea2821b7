// Joining lines and arcs: ChainPieces alone, and a whole JoinDrawing over
// the DXF text, on a drawing of 10^5 pieces: rounded squares of four lines
// and four quarter arcs in a grid, the pieces of each square spread over
// the file, every other line drawn backwards.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/fillet_dxf.h"
#include "dxf/join.h"
#include "dxf/number_text.h"

namespace {

constexpr int kSquaresPerSide = 112;  // 112^2 squares of 8 pieces: 100352

void AddLine(std::string& out, double x1, double y1, double x2, double y2) {
  out += "0\nLINE\n8\noutline\n10\n" + dxf::FormatCoordinate(x1) + "\n20\n" +
         dxf::FormatCoordinate(y1) + "\n11\n" + dxf::FormatCoordinate(x2) +
         "\n21\n" + dxf::FormatCoordinate(y2) + "\n";
}

void AddArc(std::string& out, double cx, double cy, int from) {
  out += "0\nARC\n8\noutline\n10\n" + dxf::FormatCoordinate(cx) + "\n20\n" +
         dxf::FormatCoordinate(cy) + "\n40\n1.0\n50\n" + std::to_string(from) +
         "\n51\n" + std::to_string(from + 90) + "\n";
}

/// The drawing as DXF text: all squares' first pieces, then all second
/// pieces, and so on, so that a chain's pieces lie far apart in the file.
std::string Drawing() {
  std::string out = "0\nSECTION\n2\nENTITIES\n";
  for (int piece = 0; piece < 8; ++piece) {
    for (int i = 0; i < kSquaresPerSide * kSquaresPerSide; ++i) {
      // A square of side 10 with corners rounded by radius 1, at x, y.
      const double x = 20.0 * (i % kSquaresPerSide);
      const double y = 20.0 * (i / kSquaresPerSide);
      switch (piece) {
        case 0: AddLine(out, x + 1, y, x + 9, y); break;
        case 1: AddArc(out, x + 9, y + 1, 270); break;
        case 2: AddLine(out, x + 10, y + 9, x + 10, y + 1); break;  // backwards
        case 3: AddArc(out, x + 9, y + 9, 0); break;
        case 4: AddLine(out, x + 9, y + 10, x + 1, y + 10); break;
        case 5: AddArc(out, x + 1, y + 9, 90); break;
        case 6: AddLine(out, x, y + 1, x, y + 9); break;  // backwards
        default: AddArc(out, x + 1, y + 1, 180); break;
      }
    }
  }
  return out + "0\nENDSEC\n0\nEOF\n";
}

void BM_ChainPieces(benchmark::State& state) {
  const std::string text = Drawing();
  const dxf::TagList list = dxf::ReadTags(text);
  const dxf::Drawing drawing =
      dxf::ReadDrawing(list, dxf::DrawingPieces::kRead);
  for (auto _ : state) {
    std::vector<dxf::Chain> chains =
        dxf::ChainPieces(drawing.pieces, dxf::kDefaultJoinGap);
    benchmark::DoNotOptimize(chains.data());
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(drawing.pieces.size()));
}
BENCHMARK(BM_ChainPieces)->Unit(benchmark::kMillisecond);

void BM_JoinDrawing(benchmark::State& state) {
  // rrensen-dxf --join -c 0: the chains written as polylines, cut nowhere.
  const std::string text = Drawing();
  dxf::Settings settings;
  settings.size = 0.0;
  settings.join_gap = dxf::kDefaultJoinGap;
  for (auto _ : state) {
    dxf::FilletRun run = dxf::FilletDrawing(text, settings);
    if (run.joined_polylines != kSquaresPerSide * kSquaresPerSide) {
      state.SkipWithError("the squares did not join");
    }
    benchmark::DoNotOptimize(run.output.data());
  }
  state.SetItemsProcessed(state.iterations() * 8 * kSquaresPerSide *
                          kSquaresPerSide);
}
BENCHMARK(BM_JoinDrawing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
