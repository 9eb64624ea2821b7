// rrensen-view: draws an exchange file as SVG and explains a refused outline.

#include <cstdio>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "driver/options.h"
#include "platform/ascii.h"
#include "platform/out_stream.h"
#include "dxf_picture.h"
#include "svg.h"
#include "view.h"

namespace {

const char kUsage[] =
    "usage: rrensen-view [options] FILE\n"
    "\n"
    "Draws the exchange file FILE as a standalone SVG picture: its indicated\n"
    "points, numbered, and its line, arc and circle records. When the file\n"
    "holds indicated points, the outline rrensen would write for them is\n"
    "built in memory and drawn over them; no file is changed. Standard error\n"
    "gets a table of the outline's corners with their fillet radii or, for a\n"
    "refused outline, the side or corner that fails and why, and the largest\n"
    "fillet size below 20 with which rrensen would draw it.\n"
    "\n"
    "options:\n"
    "  -c SIZE        fillet size, read as rrensen reads its /c option\n"
    "                 (default 5; 20 or more is ignored, as by rrensen)\n"
    "  -o FILE        write the picture to FILE instead of standard output;\n"
    "                 a FILE ending in .dxf gets a DXF drawing (layers\n"
    "                 points, records, outline, refused) for CAD programs\n"
    "  --style STYLE  how corners are cut, and what SIZE measures:\n"
    "                 chord          arcs whose ends lie SIZE apart, as\n"
    "                                rrensen draws them (the default)\n"
    "                 radius         arcs of radius SIZE\n"
    "                 chamfer        straight cuts ending SIZE from the corner\n"
    "                 chord-chamfer  straight cuts SIZE long\n"
    "                 dogbone, tbone reliefs for a cutter of diameter SIZE\n"
    "                                at the corners it cannot reach from\n"
    "                                outside a closed outline\n"
    "                 (docs/corner-styles.md); only chord is rrensen's\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "How the size search copes with the closing step: the outline is closed\n"
    "when the fillet size exceeds half the distance from the first point to\n"
    "the last, so the size changes the outline's shape as well as how much\n"
    "room each corner needs. For either shape every test compares the size,\n"
    "times a factor, with a length, so a smaller size never fails where a\n"
    "larger one passes. The search therefore bisects the sizes that close\n"
    "the outline and those that leave it open separately, each trial a\n"
    "call of the filleting library on the points read from the file, and\n"
    "reports the larger size that draws, rounded down to three decimals and\n"
    "checked once more. For the other styles the largest size is exact, the\n"
    "smallest ratio of a side's length to the room its cuts need per unit\n"
    "size, shown rounded down to millionths.\n";

int Fail(const std::string& message) {
  std::cerr << "rrensen-view: " << message << "\n"
            << "Try 'rrensen-view --help'.\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string input, output, size_word;
  rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc;
  for (int k = 1; k < argc; ++k) {
    std::string a = argv[k];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (a == "--version") {
      std::cout << "rrensen-view " RRENSEN_VERSION "\n";
      return 0;
    }
    if (a == "--style") {
      if (k + 1 >= argc) return Fail("option --style needs a value");
      const std::string word = argv[++k];
      const std::optional<rrensen::CornerStyle> named =
          rrensen::CornerStyleNamed(word);
      if (named) style = *named;
      if (!named) {
        return Fail("unknown style " + word +
                    " (chord, radius, chamfer, chord-chamfer, dogbone or tbone)");
      }
    } else if (a == "-o" || a == "-c") {
      if (k + 1 >= argc) return Fail("option " + a + " needs a value");
      (a == "-o" ? output : size_word) = argv[++k];
    } else if (a.rfind("-o", 0) == 0 && a.size() > 2) {
      output = a.substr(2);
    } else if (a.rfind("-c", 0) == 0 && a.size() > 2) {
      size_word = a.substr(2);
    } else if (a.size() > 1 && a[0] == '-') {
      return Fail("unknown option " + a);
    } else if (input.empty()) {
      input = a;
    } else {
      return Fail("more than one FILE");
    }
  }
  if (input.empty()) return Fail("no FILE given");

  std::ifstream in(input, std::ios::binary);
  if (!in) return Fail("cannot read " + input);
  std::ostringstream bytes;
  bytes << in.rdbuf();

  driver::Settings settings;
  if (!size_word.empty()) {
    // The tool's own option handler reads the size.
    std::string word = "-c" + size_word, sink;
    platform::OutStream quiet(&sink, false);
    driver::ApplyOption(word.c_str(), &settings, quiet, quiet);
  }
  view::Preview preview =
      view::MakePreview(bytes.str(), settings.fillet_size, style);
  if (preview.has_points()) std::cerr << view::Explain(preview);
  // A name ending in ".dxf" (any case) gets a DXF drawing, any other SVG.
  std::string ending = output.size() >= 4 ? output.substr(output.size() - 4) : "";
  std::string svg = platform::EqualIgnoringCase(ending, ".dxf") ? view::PictureDxf(preview) : view::Svg(preview, input);

  if (output.empty()) {
    std::cout << svg;
    return std::cout.good() ? 0 : 1;
  }
  std::ofstream out(output, std::ios::binary);
  out << svg;
  out.close();
  if (!out) {
    std::cerr << "rrensen-view: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
