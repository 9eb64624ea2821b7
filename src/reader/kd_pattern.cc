#include "reader/kd_pattern.h"

#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/scan.h"

namespace {

/// The character at `pos`, or -1 past the end of the line: a key test never
/// sees what an earlier, longer line left behind.
int At(std::string_view line, size_t pos) {
  return pos < line.size() ? static_cast<unsigned char>(line[pos]) : -1;
}

/// The sentinel 20 capture: the first record of a kind fixes the value.
void Capture(int32_t current, int32_t* captured) {
  if (*captured == 20) *captured = current;
}

void TenReals(std::string_view line, double* t) {
  scan::Scan(
      line, 4, "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf",
      {&t[1], &t[2], &t[3], &t[4], &t[5], &t[6], &t[7], &t[8], &t[9], &t[10]});
}

/// A point record, "hp" followed by the number and the two coordinates.
void PointRecord(DrawingState& s, std::string_view line) {
  int c3 = At(line, 3);
  size_t coords = 0;  // where the coordinates start
  const char* number_format = "%d";
  const char* debug = nullptr;  // the form's level-3 debug label
  if (c3 == ' ') {
    coords = 3;
    debug = "   ";
  } else if (c3 == '+') {
    coords = 4;
  } else if (c3 == '/') {
    coords = 4;
    debug = "/  ";
  } else if (c3 == '-') {
    coords = 4;
    number_format = "%d-";
    debug = "-  ";
  } else if (At(line, 4) == '-') {
    coords = 5;
    number_format = "%d-";
  } else {
    return;
  }
  s.iPOINTcnt += 1;
  scan::Scan(line, 2, number_format, {&s.iPOINT});
  // A negative number is no entry either: counted, nothing stored.
  if (s.iPOINT < 0 || s.iPOINT > s.HPmax) return;
  scan::Scan(line, coords, "%lf %lf", {&s.PX[s.iPOINT], &s.PY[s.iPOINT]});
  if (debug != nullptr && s.isTest == 3) {
    platform::OutStream& o = *s.out;
    o.Str("##  hp");
    o.Int(s.iPOINT);
    o.Str(debug);
    o.Fixed(s.PX[s.iPOINT], 6);
    o.Chr(' ');
    o.Fixed(s.PY[s.iPOINT], 6);
    o.Str(" \n");
  }
}

void TextStyleRecord(DrawingState& s, std::string_view line) {
  int c2 = At(line, 2);
  if (c2 == '0') {
    s.MOJIS = 0;
    scan::Scan(line, 3, "%lf %lf %lf %d",
               {&s.MOJI_W[0], &s.MOJI_H[0], &s.MOJI_D[0], &s.MOJI_C[0]});
    if (s.MOJISi == 20) {
      s.MOJISi = 0;
      s.MOJIS = 0;
      s.MOJIWi = s.MOJI_W[0];
      s.MOJICi = s.MOJI_C[0];
      s.MOJIHi = s.MOJI_H[0];
      s.MOJIDi = s.MOJI_D[0];
    }
  } else if (c2 != '"') {
    scan::Scan(line, 2, "%d", {&s.MOJIS});
    Capture(s.MOJIS, &s.MOJISi);
  }
}

void CRecord(DrawingState& s, std::string_view line) {
  int c1 = At(line, 1);
  if (c1 == 'c') {
    scan::Scan(line, 2, "%d", {&s.MOJIK});
    Capture(s.MOJIK, &s.MOJIKi);
  } else if (c1 == 'n') {
    TextStyleRecord(s, line);
  } else if (c1 == 'i') {
    s.SK = 0.0;
    s.EK = 360.0;
    s.HP = -2.0;
    s.JK = 0.0;
    scan::Scan(line, 2, "%lf %lf %lf %lf %lf %lf %lf",
               {&s.CX, &s.CY, &s.CR, &s.SK, &s.EK, &s.HP, &s.JK});
    s.iCi_cnt += 1;
  } else {
    scan::Scan(line, 2, "%lf %lf %lf %lf \"%s",
               {&s.ChX, &s.ChY, &s.ChDX, &s.ChDY,
                scan::Target(s.ChSTR, sizeof s.ChSTR)});
  }
}

void HRecord(DrawingState& s, std::string_view line) {
  int c1 = At(line, 1);
  if (c1 == 'q') {
    s.stepcnt = 1;
  } else if (c1 == 'h') {
    if (At(line, 3) == '1') s.stepcnt = 2;
  } else if (c1 == 'p') {
    PointRecord(s, line);
  } else if (c1 == 's') {
    double* g = s.G_SCALE;
    scan::Scan(line, 3,
               "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf "
               "%lf",
               {&g[0], &g[1], &g[2], &g[3], &g[4], &g[5], &g[6], &g[7], &g[8],
                &g[9], &g[10], &g[11], &g[12], &g[13], &g[14], &g[15]});
  } else if (c1 == 'c') {
    int c2 = At(line, 2);
    if (c2 == 'w') {
      TenReals(line, s.MOJI_W);
    } else if (c2 == 'h') {
      TenReals(line, s.MOJI_H);
    } else if (c2 == 'd') {
      TenReals(line, s.MOJI_D);
    } else if (c2 == 'c') {
      int32_t* c = s.MOJI_C;
      scan::Scan(line, 4, "%d %d %d %d %d %d %d %d %d %d",
                 {&c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &c[7], &c[8], &c[9],
                  &c[10]});
    }
  }
}

void LRecord(DrawingState& s, std::string_view line) {
  int c1 = At(line, 1);
  if (c1 == 'g') {
    scan::Scan(line, 2, "%x", {&s.GROUP});
    Capture(s.GROUP, &s.GROUPi);
  } else if (c1 == 'y') {
    scan::Scan(line, 2, "%x", {&s.LAYER});
    Capture(s.LAYER, &s.LAYERi);
  } else if (c1 == 't') {
    scan::Scan(line, 2, "%d", {&s.TYPE});
    Capture(s.TYPE, &s.TYPEi);
  } else if (c1 == 'c') {
    scan::Scan(line, 2, "%d", {&s.COLOR});
    Capture(s.COLOR, &s.COLORi);
  }
}

void PRecord(DrawingState& s, std::string_view line) {
  int c1 = At(line, 1);
  if (c1 == 'n') {
    scan::Scan(line, 2, "%x", {&s.TENS});
    Capture(s.TENS, &s.TENSi);
  } else if (c1 == 't') {
    scan::Scan(line, 2, "%lf %lf", {&s.KX[1], &s.KY[1]});
  } else if (c1 == 'l') {
    PLreset(s);
    s.iPL = 1;
    s.iPLcounter = 0;
    s.iPLcnt += 1;
  }
}

/// Handles one line (one piece of at most 254 characters) that is not
/// passed through ("#" and "bz" lines are) by its record key.
void KdRecord(DrawingState& s, std::string_view line) {
  switch (At(line, 0)) {
    case ' ':
      scan::Scan(line, 1, "%lf %lf %lf %lf",
                 {&s.ILINEx1, &s.ILINEy1, &s.ILINEx2, &s.ILINEy2});
      if (!(s.ILINEx1 == s.ILINEx2 && s.ILINEy1 == s.ILINEy2)) {
        s.iLine_cnt += 1;
        s.stepcnt = 3;
      }
      break;
    case 'c': CRecord(s, line); break;
    case 'h': HRecord(s, line); break;
    case 'l': LRecord(s, line); break;
    case 'p': PRecord(s, line); break;
    case 'z': scan::Scan(line, 1, "%d", {&s.ZOKU}); break;
    default: break;
  }
}

}  // namespace

int KD_PATTERN(DrawingState& s, unsigned int jd_xmax, unsigned int jd_limit,
               const RecordHook& hook) {
  platform::Piece buf;
  // True while the pieces of a long comment or "bz" line are still coming:
  // they pass through whole instead of being taken as records.
  bool passing = false;
  for (unsigned int jd_x = 0; jd_x != jd_limit; ++jd_x) {
    if (!s.fp->ReadPiece(&buf)) break;
    std::string_view line = buf.view();
    if (s.isTest == 3) {
      platform::OutStream& o = *s.out;
      o.Str("## ---- KD_PATTERN()  kdx_temp.txt processing --------\n");
      o.Str("##  jd_x=");
      o.Unsigned(jd_x);
      o.Chr('/');
      o.Unsigned(jd_xmax);
      o.Str(" : jd_x/jd_xmax  jd_limit=");
      o.Unsigned(jd_limit);
      o.Str("\n##  buf=(");
      o.Str(line);
      o.Str(")\n");
    }
    bool ends_line = !line.empty() && line.back() == '\n';
    if (passing) {
      s.fpw->Str(line);
      passing = !ends_line;
    } else if (At(line, 0) == '#') {
      s.fpw->Str(line);
      PLreset(s);
      passing = !ends_line;
    } else if (At(line, 0) == 'b' && At(line, 1) == 'z') {
      s.isZUSUN = 1;
      s.fpw->Str(line);
      passing = !ends_line;
    } else {
      KdRecord(s, line);
      if (hook) hook(s, line);
    }
  }
  // A passed-through line that the input did not end (the last line of the
  // file, or one cut by the limit) gets its line end, so that the records
  // written after it stay records of their own.
  if (passing) s.fpw->Chr('\n');
  return 0;
}
