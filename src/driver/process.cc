#include "driver/process.h"

#include "geometry/fillet_trace.h"
#include "reader/exchange_reader.h"
#include "rrensen/fillet.h"
#include "writer/outline_writer.h"
#include "writer/restore_block.h"

namespace driver {

namespace {

/// The result the host's "points too close" message stands for; results
/// above it get the "too sharp" message with their number.
constexpr int kResultTooClose = static_cast<int>(rrensen::Result::kTooClose);

// Result messages for the host; the Japanese parts are Shift-JIS bytes.
// "R_RENSEN" names the filleting step in the host's messages.
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

/// The header of the filleting trace, at every debug level above 0: the
/// number of point records ("POINTcnt"), points 0 to 5, the last point
/// before the closing step, and the fillet size ("/c", the option).
void PrintHeader(const reader::IndicatedPoints& p, const Settings& settings,
                 platform::OutStream& o) {
  o.Str("# K_RENSEN ----  POINTcnt<");
  o.Int(p.record_count);
  o.Str(">----- \n");
  for (int k = 0; k <= 5; ++k) {
    o.Str("#     PX[");
    o.Int(k);
    o.Str("]=");
    o.Fixed(p.x[k], 1);
    o.Str(" PY[");
    o.Int(k);
    o.Str("]=");
    o.Fixed(p.y[k], 1);
    o.Str(" \n");
  }
  o.Str("#     PX[iPOINTcnt]=");
  o.Fixed(p.x[p.record_count], 6);
  o.Str(" PY[iPOINTcnt]=");
  o.Fixed(p.y[p.record_count], 6);
  o.Str(" \n#     COMMAND-Option /c(");
  o.Fixed(settings.fillet_size, 1);
  o.Str(") \n");
}

/// The head of both end-of-run trailers: the closing line, then the line
/// count and the stage.
void EndOfRun(platform::OutStream& o, const char* count_label,
              uint32_t line_count, int32_t stage) {
  o.Str(kEndClosing);
  o.Str(count_label);
  o.Int(static_cast<int32_t>(line_count));
  o.Str(" stepcnt= ");
  o.Int(stage);
}

}  // namespace

int BuildOutline(const reader::IndicatedPoints& points, const Settings& settings,
                 platform::OutStream& console, platform::OutStream& out) {
  if (!points.WithinLimits()) return kResultTooClose;
  if (settings.debug_level > 0) PrintHeader(points, settings, console);
  geometry::FilletTrace trace;
  rrensen::Outline outline = geometry::FilletWithTrace(
      points.Outline(), {settings.fillet_size, rrensen::Closing::kByProximity},
      &trace);
  if (settings.debug_level == 2) {
    writer::WriteFilletTrace(outline, trace, settings.fillet_size, console,
                             out);
  }
  writer::WriteOutlineRecords(outline, trace, out);
  return static_cast<int>(outline.result);
}

bool ProcessExchange(platform::TextReader& in, platform::OutStream& out,
                     platform::OutStream& console, const Settings& settings,
                     uint32_t line_count) {
  reader::ExchangeContents contents;
  reader::ReadExchange(in, reader::ReadOptions{settings.debug_level, line_count, reader::kLineLimit},
               out, console, &contents);
  if (in.error()) return false;
  int result = BuildOutline(contents.points, settings, console, out);
  if (result == kResultTooClose) {
    out.Str(kTooClose);
  } else if (result > kResultTooClose) {
    out.Str(kTooSharp);
    out.Int(result);
    out.Str(")------ \n");
  }
  // The trailers show the line count ("jd_xmax") and the stage ("stepcnt"):
  // on the console at level 3, with the result; in the output at level 1.
  if (settings.debug_level == 3) {
    EndOfRun(console, "# jd_xmax= ", line_count, contents.stage);
    console.Str(" Error(");
    console.Int(result);
    console.Str(")\n");
  }
  if (settings.debug_level == 1) {
    EndOfRun(out, "#    jd_xmax= ", line_count, contents.stage);
    // "KYlengTotal" is a length total of the host's other tools, which
    // nothing here accumulates: always 0.
    out.Str(" KYlengTotal= ");
    out.Fixed(0.0, 8);
    out.Chr('\n');
  }
  writer::WriteRestoreBlock(contents.attributes.captured, out);
  return true;
}

}  // namespace driver
