#include "dxf/command_line.h"

#include <cmath>
#include <utility>

namespace dxf {

const char kUsage[] =
    "usage: rrensen-dxf [options] IN.dxf\n"
    "       rrensen-dxf [options] -o OUTDIR IN.dxf|FOLDER...\n"
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
    "With --join, LINE and ARC entities (of the drawing, not of blocks) on\n"
    "the same layer and with the same colour, line type and other\n"
    "attributes whose ends meet are first chained into one new polyline\n"
    "(LWPOLYLINE; POLYLINE in R12 files), closed when the chain closes, and\n"
    "filleted like any other. A chain stops where three or more ends meet.\n"
    "The polyline takes the layer and attributes of the chain's first piece\n"
    "in the file, and its place; the pieces go. A chain none of whose\n"
    "corners can be filleted is left as its lines and arcs. R13 files take\n"
    "no new polylines: their chains are reported and left.\n"
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
    "                    dogbone        reliefs for a round cutter of\n"
    "                                   diameter SIZE: the cutter's circle\n"
    "                                   through each corner it cannot reach,\n"
    "                                   its centre on the corner's bisector\n"
    "                    tbone          the same circle, its centre on one\n"
    "                                   side (--tbone-side)\n"
    "                  A relief goes where the cutter cannot reach: at the\n"
    "                  concave corners of a part, and the convex corners of\n"
    "                  a hole (a closed polyline inside an odd number of\n"
    "                  others). An open polyline has no inside: it is left\n"
    "                  unchanged and reported.\n"
    "  --max-angle DEG no relief where the sides meet at more than DEG\n"
    "                  degrees on the cutter's side (default 170)\n"
    "  --tbone-side S  the side of a T-bone's centre: longer (the default),\n"
    "                  shorter, first (incoming) or second (outgoing)\n"
    "  --corners WHICH which corners to cut (default all): convex (the\n"
    "                  outside corners of a closed polyline, the way it goes\n"
    "                  round its inside) or concave; the others stay sharp.\n"
    "                  An open polyline has no inside: every corner is cut,\n"
    "                  and that is reported\n"
    "  -o FILE         write the result to FILE (default: standard output)\n"
    "  --close-gap D   close each open polyline of three or more vertices\n"
    "                  whose last vertex lies D or less from its first: the\n"
    "                  last vertex is dropped and the polyline flagged\n"
    "                  closed. The host program closes an outline whose ends\n"
    "                  lie closer than twice the size: --close-gap of twice\n"
    "                  SIZE comes nearest to it\n"
    "  --join          chain lines and arcs into polylines first\n"
    "  --join-gap G    two ends meet when they lie G or less apart, in\n"
    "                  drawing units, 0 or more (default 1e-6); implies\n"
    "                  --join\n"
    "  --refillet      re-cut corners cut before: an arc between two\n"
    "                  straight pieces and tangent to both (a fillet) is\n"
    "                  first turned back into the sharp corner where their\n"
    "                  lines meet, and the corner cut anew; -c 0 leaves it\n"
    "                  sharp. A run of a polyline that cannot be re-cut\n"
    "                  keeps its earlier cuts, and is reported\n"
    "  --rechamfer LEN with --refillet, a straight piece at most LEN long\n"
    "                  between two others whose lines meet beyond its ends\n"
    "                  is an earlier chamfer too (and a chord arc's chord);\n"
    "                  implies --refillet\n"
    "  --refillet-max-radius R\n"
    "                  keep arcs of radius above R: they are the design's;\n"
    "                  implies --refillet\n"
    "  --tangent-tolerance RAD\n"
    "                  how far, in radians, an arc may leave the direction\n"
    "                  of its sides and still be a fillet (default 1e-6);\n"
    "                  implies --refillet\n"
    "  --layer NAME    fillet (and join) only on layer NAME\n"
    "  --report FILE   write one JSON object a line to FILE for each\n"
    "                  polyline and chain: its handle, layer, line, status,\n"
    "                  corners and the runs left as they were, and why\n"
    "  --dry-run       write no drawing (the report is still written)\n"
    "  -j N            use N cores: N drawings of a batch at once, or the\n"
    "                  polylines of one drawing on N threads (default: one\n"
    "                  for each core; the output is the same)\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Given several inputs, or a folder (read at any depth for *.dxf files),\n"
    "rrensen-dxf fillets them all, in parallel, into the folder OUTDIR: each\n"
    "output takes its input's name, and its path below the folder given,\n"
    "and no output is written over an input. On a terminal a line shows the\n"
    "progress; at the end one summary counts the files and polylines. A\n"
    "file that fails is reported and the others go on; with --report each\n"
    "line names its file. The exit status is the worst file's; after\n"
    "Ctrl-C it is 130, the files finished stay and no other is written.\n"
    "\n"
    "exit status: 0 when every polyline and chain was filleted (or there\n"
    "was none); 1 when the drawing was written but some were left unchanged\n"
    "or only partly filleted (they are reported); 2 on bad usage or a file\n"
    "that cannot be read as ASCII DXF, and then nothing is written.\n";

namespace {

/// An option of the program without a value: the field it sets.
struct FlagOption {
  const char* name;
  bool CommandLine::*field;
};

const FlagOption kFlagOptions[] = {
    {"--help", &CommandLine::help},       {"-h", &CommandLine::help},
    {"--version", &CommandLine::version}, {"--dry-run", &CommandLine::dry_run},
};

/// An option of the program with a value: the field it sets.
struct ValueOption {
  const char* name;
  std::string CommandLine::*field;
};

const ValueOption kValueOptions[] = {
    {"-o", &CommandLine::output},
    {"--report", &CommandLine::report},
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& words) {
  CommandLine line;
  auto fail = [&line](std::string message) {
    if (line.error.empty() && !message.empty()) line.error = std::move(message);
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const FlagOption* flag = nullptr;
    for (const FlagOption& option : kFlagOptions) {
      if (word == option.name) flag = &option;
    }
    const ValueOption* valued = nullptr;
    for (const ValueOption& option : kValueOptions) {
      if (word == option.name) valued = &option;
    }
    const SettingOption* setting = OptionByFlag(word);
    const bool needs_value =
        valued != nullptr || word == "-j" ||
        (setting != nullptr && setting->kind != OptionKind::kSwitch);
    if (needs_value && i + 1 >= words.size()) {
      fail("option " + word + " needs a value");
      break;
    }
    if (flag != nullptr) {
      line.*(flag->field) = true;
    } else if (valued != nullptr) {
      line.*(valued->field) = words[++i];
    } else if (setting != nullptr) {
      OptionValue value;
      if (setting->kind == OptionKind::kSwitch) {
        value.on = true;
      } else if (setting->kind == OptionKind::kNumber) {
        value = NumberText(words[++i]);
      } else {
        value.text = words[++i];
      }
      fail(SetOption(line.settings, *setting, value));
    } else if (word == "-j") {
      const double jobs = NumberText(words[++i]).number;
      if (!(jobs >= 1.0 && jobs <= kMostJobs && jobs == std::floor(jobs))) {
        fail("-j needs a whole number from 1 to " + std::to_string(kMostJobs) +
             ", not '" + words[i] + "'");
      } else {
        line.jobs = static_cast<int>(jobs);
      }
    } else if (word.size() > 1 && word[0] == '-') {
      fail("unknown option '" + word + "'");
    } else {
      line.inputs.push_back(word);
    }
  }
  if (!line.help && !line.version && line.inputs.empty()) {
    fail("no input file");
  }
  return line;
}

}  // namespace dxf
