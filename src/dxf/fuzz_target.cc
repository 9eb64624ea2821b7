// Fuzz target for rrensen-dxf: the first byte of the input picks the fillet
// size, the rest is the DXF file. Whatever the bytes, the run must finish
// without a fault, and a file it writes must read back with as many
// polylines; a file where nothing was filleted must come back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "dxf/drawing.h"
#include "dxf/fillet_dxf.h"
#include "dxf/tag_reader.h"

namespace {

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken check: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Sizes 0 to 19.92 in steps of 0.08, the first byte's value.
  dxf::FilletSettings settings;
  settings.size = static_cast<double>(data[0]) * 0.078125;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  dxf::FilletRun run = dxf::FilletDrawing(bytes, settings);
  if (!run.error.empty()) return 0;
  if (run.filleted == 0) {
    Check(run.output == bytes, "a file with nothing filleted changed");
    return 0;
  }
  dxf::TagList before = dxf::ReadTags(bytes);
  dxf::TagList after = dxf::ReadTags(run.output);
  Check(after.error.empty(), "the written file's tags do not read");
  dxf::Drawing drawing_before = dxf::ReadDrawing(before);
  dxf::Drawing drawing_after = dxf::ReadDrawing(after);
  Check(drawing_after.error.empty(), "the written file's structure is bad");
  Check(drawing_before.polylines.size() == drawing_after.polylines.size(),
        "polylines appeared or went");
  return 0;
}
