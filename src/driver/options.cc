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
  HostOnlySettings& host = s.host;
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
      host.scale_colour = 7;
      if (has_value) host.scale_colour = AtoI(value) % 9;
      break;
    case 'b':
    case 'd':
    case 'f': break;  // accepted for the host's sake; the value is not used
    case 'c':
      if (has_value) {
        double r = std::fabs(AtoF(value));
        if (r < kFilletSizeLimit) s.fillet_size = r;  // nan fails the test too
      }
      break;
    case 'e':
      host.kind = 0;
      host.kind_colour = 0;
      if (has_value) {
        int32_t v = AtoI(value);
        host.kind_colour = v / 10;
        host.kind = v % 10;
      }
      break;
    case 'g':
    case 'h':
      if (has_value) {
        int32_t v = AtoI(value);
        if (v >= 0 && v <= 10) (letter == 'g' ? host.pen1 : host.pen2) = v;
      }
      break;
    case 'm':
      host.mode = 0;
      if (has_value) host.mode = AtoI(value);
      if (host.mode > 0) host.mode -= 1;
      break;
    case 'n':
      if (has_value) host.numbering = AtoI(value) % 10;
      break;
    case 't':
      s.debug_level = 0;
      if (has_value && value[0] >= '1' && value[0] <= '6') {
        s.debug_level = value[0] - '0';
      }
      break;
    case 'w':
      if (has_value) {
        int32_t v = AtoI(value);
        host.text_width = v > 30 ? 30 : v;
      }
      break;
    default: legal = false; break;
  }
  if (!legal) errors.Str("\n illegal Option.\n");
  if (s.debug_level > 2) {
    console.Str("# --- command line option ---------------\n# --- wSCLR=(");
    console.Int(host.scale_colour);
    console.Str(")\n");
  }
}

}  // namespace driver
