#include "driver/process.h"

#include "geometry/r_rensen.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/kd_pattern.h"
#include "writer/ini_zokusei.h"

namespace {

// Message texts; the Japanese parts are Shift-JIS bytes.
constexpr const char* kTooClose =
    "h# R_RENSEN "
    "\x83\x7c\x83\x43\x83\x93\x83\x67\x8a\xd4\x8a\x75\x82\xaa\x92\x5a\x82\xad"
    "\x82\xc4\x81\x41\x96\xca\x8e\xe6\x82\xe8\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1"  // ポイント間隔が短くて、面取りできません
    "------ \n";
constexpr const char* kTooSharp =
    "h# R_RENSEN "
    "\x90\xdc\x82\xe8\x95\xd4\x82\xb5\x8a\x70\x93\x78\x82\xaa\x89\x73\x82\xad"
    "\x82\xc4\x81\x41\x96\xca\x8e\xe6\x82\xe8\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1"  // 折り返し角度が鋭くて、面取りできません
    "(";
constexpr const char* kEndClosing =
    "# ------------------ main() Pattern1 end file closing "
    "------------------ \n";

}  // namespace

bool ProcessExchange(DrawingState& s, unsigned int jd_xmax) {
  KD_PATTERN(s, jd_xmax, kJdLimit);
  if (s.fp->error()) return false;
  int result = R_RENSEN(s);
  platform::OutStream& o = *s.fpw;
  if (result == kRensenTooClose) {
    o.Str(kTooClose);
  } else if (result > kRensenTooClose) {
    o.Str(kTooSharp);
    o.Int(result);
    o.Str(")------ \n");
  }
  if (s.isTest == 3) {
    platform::OutStream& c = *s.out;
    c.Str(kEndClosing);
    c.Str("# jd_xmax= ");
    c.Int(static_cast<int32_t>(jd_xmax));
    c.Str(" stepcnt= ");
    c.Int(s.stepcnt);
    c.Str(" Error(");
    c.Int(result);
    c.Str(")\n");
  }
  if (s.isTest == 1) {
    o.Str(kEndClosing);
    o.Str("#    jd_xmax= ");
    o.Int(static_cast<int32_t>(jd_xmax));
    o.Str(" stepcnt= ");
    o.Int(s.stepcnt);
    o.Str(" KYlengTotal= ");
    o.Fixed(s.KYlengTotal, 8);
    o.Chr('\n');
  }
  IniZokusei(s);
  return true;
}
