#include "dxf/command_line.h"

#include <cmath>

#include "dxf/number_text.h"

namespace dxf {

const char kUsage[] =
    "usage: rrensen-dxf [options] IN.dxf\n"
    "\n"
    "Fillets the corners of every 2-D polyline made only of straight\n"
    "segments (LWPOLYLINE, and POLYLINE with VERTEX entities) among the\n"
    "entities of the ASCII DXF file IN.dxf (not inside block definitions):\n"
    "each corner is cut back so that its two tangent points\n"
    "lie SIZE apart and joined by the arc tangent to both sides (by a\n"
    "straight chord where the direction changes by 10 degrees or less).\n"
    "Each polyline keeps its handle, layer, colour and line type; every\n"
    "other part of the file is copied unchanged. A polyline that already\n"
    "has arcs, or whose sides are too short for SIZE, is left unchanged and\n"
    "reported on standard error with the largest size below 20 that would\n"
    "fillet it. An open polyline whose ends lie closer than twice SIZE is\n"
    "closed.\n"
    "\n"
    "options:\n"
    "  -c SIZE       fillet size: the distance between the two tangent\n"
    "                points of each corner, in drawing units, at least 0\n"
    "                and below 20 (default 5)\n"
    "  -o FILE       write the result to FILE (default: standard output)\n"
    "  --layer NAME  fillet only the polylines on layer NAME\n"
    "  --dry-run     report only; write nothing\n"
    "  --help        show this text\n"
    "  --version     show the version\n"
    "\n"
    "exit status: 0 when the file was written with at least one polyline\n"
    "filleted; 1 when no polyline could be filleted (nothing is written);\n"
    "2 on bad usage or a file that cannot be read as ASCII DXF.\n";

CommandLine ParseCommandLine(const std::vector<std::string>& words) {
  CommandLine line;
  auto fail = [&line](std::string message) {
    if (line.error.empty()) line.error = std::move(message);
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    bool has_value = i + 1 < words.size();
    if (word == "--help" || word == "-h") {
      line.help = true;
    } else if (word == "--version") {
      line.version = true;
    } else if (word == "--dry-run") {
      line.dry_run = true;
    } else if (word == "-c" || word == "-o" || word == "--layer") {
      if (!has_value) {
        fail("option " + word + " needs a value");
        break;
      }
      const std::string& value = words[++i];
      if (word == "-o") {
        line.output = value;
      } else if (word == "--layer") {
        line.layer = value;
      } else {
        double size = 0.0;
        if (!ParseReal(value, size) || !std::isfinite(size) || size < 0.0 ||
            size >= 20.0) {
          fail("the fillet size must be a number from 0 to below 20, not '" +
               value + "'");
        }
        line.size = size;
      }
    } else if (word.size() > 1 && word[0] == '-') {
      fail("unknown option '" + word + "'");
    } else if (line.input.empty()) {
      line.input = word;
    } else {
      fail("only one input file, please ('" + word + "' is a second one)");
    }
  }
  if (!line.help && !line.version && line.input.empty()) {
    fail("no input file");
  }
  return line;
}

}  // namespace dxf
