#include "writer/restore_block.h"

#include <cmath>

namespace writer {

void WriteRestoreBlock(const reader::CapturedAttributes& captured,
                       platform::OutStream& out) {
  const reader::FreeTextStyle& free = captured.free_style;
  // The free style only when its width is positive (nan is not; one never
  // captured is -20), and only when all three sizes are numbers the host
  // can read back.
  if (free.width > 0.0 && std::isfinite(free.width) &&
      std::isfinite(free.height) && std::isfinite(free.depth)) {
    out.Str("cn0 ");
    out.Fixed(free.width, 6);
    out.Str(", ");
    out.Fixed(free.height, 6);
    out.Str(", ");
    out.Fixed(free.depth, 6);
    out.Str(", ");
    out.Int(free.colour);
    out.Chr('\n');
  }
  // A numbered style 1 to 10 (a negative number passes too); 0 is the free
  // style, 20 not captured.
  if (captured.text_style != 0 && captured.text_style <= 10) {
    out.Str("cn");
    out.Int(captured.text_style);
    out.Chr('\n');
  }
  out.Str("lg");
  out.Hex(static_cast<uint32_t>(captured.layer_group));
  out.Str("\nly");
  out.Hex(static_cast<uint32_t>(captured.layer));
  out.Str("\nlt");
  out.Int(captured.line_type);
  out.Str("\nlc");
  out.Int(captured.line_colour);
  out.Chr('\n');
  if (captured.pn_value <= 9) {
    out.Str("pn");
    out.Int(captured.pn_value);
    out.Chr('\n');
  }
}

}  // namespace writer
