// Fuzz target for rrensen-dxf: the first byte of the input picks the fillet
// size, the rest is the DXF file. Whatever the bytes, the run must finish
// without a fault, and a file it writes must read back with as many
// polylines; a file where nothing was filleted must come back unchanged.

#include <cstddef>
#include <string>
#include <string_view>

#include "dxf/drawing.h"
#include "dxf/fillet_dxf.h"
#include "dxf/tag_reader.h"

/// The checks of one input; "" when they hold, else what is wrong.
std::string CheckFuzzInput(std::string_view input) {
  if (input.empty()) return "";
  // Sizes 0 to 19.92 in steps of 0.078125 (5/64), the first byte's value.
  dxf::FilletSettings settings;
  settings.size = static_cast<double>(static_cast<unsigned char>(input[0])) * 0.078125;
  std::string_view bytes = input.substr(1);
  dxf::FilletRun run = dxf::FilletDrawing(bytes, settings);
  if (!run.error.empty()) return "";
  if (run.filleted == 0) {
    return run.output == bytes ? "" : "a file with nothing filleted changed";
  }
  dxf::TagList before = dxf::ReadTags(bytes);
  dxf::TagList after = dxf::ReadTags(run.output);
  if (!after.error.empty()) return "the written file's tags do not read";
  dxf::Drawing drawing_before = dxf::ReadDrawing(before);
  dxf::Drawing drawing_after = dxf::ReadDrawing(after);
  if (!drawing_after.error.empty()) return "the written file's structure is bad";
  if (drawing_before.polylines.size() != drawing_after.polylines.size()) {
    return "polylines appeared or went";
  }
  return "";
}
