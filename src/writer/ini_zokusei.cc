#include "writer/ini_zokusei.h"

#include <cmath>

#include "platform/out_stream.h"

void IniZokusei(DrawingState& s) {
  platform::OutStream& o = *s.fpw;
  // The free style only when its width is positive (nan is not), and only
  // when all three sizes are numbers the host can read back.
  if (s.MOJIWi > 0.0 && std::isfinite(s.MOJIWi) && std::isfinite(s.MOJIHi) &&
      std::isfinite(s.MOJIDi)) {
    o.Str("cn0 ");
    o.Fixed(s.MOJIWi, 6);
    o.Str(", ");
    o.Fixed(s.MOJIHi, 6);
    o.Str(", ");
    o.Fixed(s.MOJIDi, 6);
    o.Str(", ");
    o.Int(s.MOJICi);
    o.Chr('\n');
  }
  if (s.MOJISi != 0 && s.MOJISi <= 10) {
    o.Str("cn");
    o.Int(s.MOJISi);
    o.Chr('\n');
  }
  o.Str("lg");
  o.Hex(static_cast<uint32_t>(s.GROUPi));
  o.Str("\nly");
  o.Hex(static_cast<uint32_t>(s.LAYERi));
  o.Str("\nlt");
  o.Int(s.TYPEi);
  o.Str("\nlc");
  o.Int(s.COLORi);
  o.Chr('\n');
  if (s.TENSi <= 9) {
    o.Str("pn");
    o.Int(s.TENSi);
    o.Chr('\n');
  }
}
