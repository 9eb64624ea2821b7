#include "driver/options.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "platform/out_stream.h"
#include "reader/scan.h"

namespace {

/// atoi without its undefined behaviour: wraps modulo 2^32, 0 for no number.
int32_t AtoI(std::string_view text) {
  int32_t value = 0;
  size_t pos = 0;
  scan::ParseInt(text, &pos, &value);
  return value;
}

/// atof: a decimal real, "inf"/"nan" as such, 0.0 for no number.
double AtoF(std::string_view text) {
  double value = 0.0;
  size_t pos = 0;
  scan::ParseReal(text, &pos, &value);
  return value;
}

}  // namespace

void opt(DrawingState& s, const char* word) {
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
      s.wSCLR = 7;
      if (has_value) s.wSCLR = AtoI(value) % 9;
      break;
    case 'b':
    case 'd':
    case 'f': break;  // accepted for the host's sake; the value is not used
    case 'c':
      if (has_value) {
        double r = std::fabs(AtoF(value));
        if (r < 20.0) s.Men = r;  // nan fails the test too
      }
      break;
    case 'e':
      s.exsyu = 0;
      s.exiro = 0;
      if (has_value) {
        int32_t v = AtoI(value);
        s.exiro = v / 10;
        s.exsyu = v % 10;
      }
      break;
    case 'g':
    case 'h':
      if (has_value) {
        int32_t v = AtoI(value);
        if (v >= 0 && v <= 10) (letter == 'g' ? s.iPEN1 : s.iPEN2) = v;
      }
      break;
    case 'm':
      s.iMode = 0;
      if (has_value) s.iMode = AtoI(value);
      if (s.iMode > 0) s.iMode -= 1;
      break;
    case 'n':
      if (has_value) s.isNUM = AtoI(value) % 10;
      break;
    case 't':
      s.isTest = 0;
      if (has_value && value[0] >= '1' && value[0] <= '6') {
        s.isTest = value[0] - '0';
      }
      break;
    case 'w':
      if (has_value) {
        int32_t v = AtoI(value);
        s.iMOJI_w = v > 30 ? 30 : v;
      }
      break;
    default: legal = false; break;
  }
  if (!legal) s.err->Str("\n illegal Option.\n");
  if (s.isTest > 2) {
    s.out->Str("# --- command line option ---------------\n# --- wSCLR=(");
    s.out->Int(s.wSCLR);
    s.out->Str(")\n");
  }
}
