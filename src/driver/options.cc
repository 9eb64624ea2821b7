#include "driver/options.h"

#include <cmath>
#include <string_view>

#include "platform/out_stream.h"
#include "reader/scan.h"

namespace driver {

namespace {

/// atoi without its undefined behaviour: wraps modulo 2^32, 0 for no number.
int32_t AtoI(std::string_view text) {
  int32_t value = 0;
  size_t pos = 0;
  reader::scan::ParseInt(text, &pos, &value);
  return value;
}

/// atof: a decimal real, "inf"/"nan" as such, 0.0 for no number.
double AtoF(std::string_view text) {
  double value = 0.0;
  size_t pos = 0;
  reader::scan::ParseReal(text, &pos, &value);
  return value;
}

}  // namespace

void ApplyOption(const char* word, Settings* settings,
                 platform::OutStream& console, platform::OutStream& errors) {
  Settings& s = *settings;
  std::string_view w(word);
  char letter = w.size() > 1 ? w[1] : '\0';
  if (letter >= 'A' && letter <= 'Z') {
    letter = static_cast<char>(letter - 'A' + 'a');
  }
  std::string_view value = w.size() > 2 ? w.substr(2) : std::string_view();
  bool has_value = !value.empty();
  bool legal = true;
  switch (letter) {
    case 'a':
      s.scale_colour = 7;
      if (has_value) s.scale_colour = AtoI(value) % 9;
      break;
    case 'b':
    case 'd':
    case 'e':
    case 'f':
    case 'g':
    case 'h':
    case 'm':
    case 'n':
    case 'w':
      // The host passes these to all its helpers alike (kind and colour,
      // pens, mode, numbering, text width); nothing in this tool uses them.
      break;
    case 'c':
      if (has_value) {
        double r = std::fabs(AtoF(value));
        if (r < kFilletSizeLimit) s.fillet_size = r;  // nan fails the test too
      }
      break;
    case 't':
      s.debug_level = 0;
      if (has_value && value[0] >= '1' && value[0] <= '6') {
        s.debug_level = value[0] - '0';
      }
      break;
    default: legal = false; break;
  }
  if (!legal) errors.Str("\n illegal Option.\n");
  if (s.debug_level > 2) {
    console.Str("# --- command line option ---------------\n# --- wSCLR=(");
    console.Int(s.scale_colour);
    console.Str(")\n");
  }
}

}  // namespace driver
