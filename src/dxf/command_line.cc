#include "dxf/command_line.h"

#include <cmath>

#include "dxf/number_text.h"

namespace dxf {

const char kUsage[] =
    "usage: rrensen-dxf [options] IN.dxf\n"
    "\n"
    "Fillets the corners of the 2-D polylines (LWPOLYLINE, and POLYLINE with\n"
    "VERTEX entities) among the entities of the ASCII DXF file IN.dxf (not\n"
    "inside block definitions): each corner between two straight segments\n"
    "is cut back so that its two tangent points lie SIZE apart and joined\n"
    "by the arc tangent to both sides (by a straight chord where the\n"
    "direction changes by 10 degrees or less). Arcs a polyline already has\n"
    "are kept as they are; each run of straight segments between them is\n"
    "filleted on its own, its two ends left where they are. A polyline\n"
    "flagged closed is filleted closed, the corner at its first vertex too;\n"
    "an open one stays open, however near its ends lie.\n"
    "\n"
    "Each polyline keeps its handle, layer, colour and line type; every\n"
    "other part of the file is copied unchanged. A run whose sides are too\n"
    "short for SIZE is left as it is and reported on standard error with\n"
    "the largest size that would fillet it; polylines with widths and\n"
    "curve-fit ones are left unchanged and reported.\n"
    "\n"
    "options:\n"
    "  -c SIZE         fillet size: the distance between the two tangent\n"
    "                  points of each corner, in drawing units, 0 or more\n"
    "                  (default 5)\n"
    "  --style STYLE   how each corner is cut (default chord):\n"
    "                    chord          arcs whose tangent points lie SIZE\n"
    "                                   apart, as above\n"
    "                    radius         arcs of radius SIZE\n"
    "                    chamfer        straight cuts whose ends lie SIZE\n"
    "                                   from the corner on each side\n"
    "                    chord-chamfer  straight cuts SIZE long\n"
    "  -o FILE         write the result to FILE (default: standard output)\n"
    "  --close-gap D   close each open polyline of three or more vertices\n"
    "                  whose last vertex lies D or less from its first: the\n"
    "                  last vertex is dropped and the polyline flagged\n"
    "                  closed. The host program closes an outline whose ends\n"
    "                  lie closer than twice the size: --close-gap of twice\n"
    "                  SIZE comes nearest to it\n"
    "  --layer NAME    fillet only the polylines on layer NAME\n"
    "  --report FILE   write one JSON object a line to FILE for each\n"
    "                  polyline: its handle, layer, line, status, corners\n"
    "                  and the runs left as they were, and why\n"
    "  --dry-run       write no drawing (the report is still written)\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "exit status: 0 when every polyline was filleted (or there was none);\n"
    "1 when the drawing was written but some polylines were left unchanged\n"
    "or only partly filleted (they are reported); 2 on bad usage or a file\n"
    "that cannot be read as ASCII DXF, and then nothing is written.\n";

namespace {

/// Reads a distance: a finite number of 0 or more.
bool ParseDistance(const std::string& text, double& value) {
  return ParseReal(text, value) && std::isfinite(value) && value >= 0.0;
}

}  // namespace

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
    } else if (word == "-c" || word == "-o" || word == "--layer" ||
               word == "--close-gap" || word == "--report" ||
               word == "--style") {
      if (!has_value) {
        fail("option " + word + " needs a value");
        break;
      }
      const std::string& value = words[++i];
      if (word == "-o") {
        line.output = value;
      } else if (word == "--layer") {
        line.layer = value;
      } else if (word == "--report") {
        line.report = value;
      } else if (word == "--style") {
        const std::optional<rrensen::CornerStyle> style =
            rrensen::CornerStyleNamed(value);
        if (!style) {
          fail("unknown style '" + value +
               "' (chord, radius, chamfer or chord-chamfer)");
        }
        line.style = style.value_or(rrensen::CornerStyle::kChordArc);
      } else if (word == "--close-gap") {
        double gap = 0.0;
        if (!ParseDistance(value, gap)) {
          fail("the gap must be a finite number of 0 or more, not '" + value +
               "'");
        }
        line.close_gap = gap;
      } else {
        double size = 0.0;
        if (!ParseDistance(value, size)) {
          fail("the fillet size must be a finite number of 0 or more, not '" +
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
