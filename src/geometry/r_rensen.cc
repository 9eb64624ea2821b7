#include "geometry/r_rensen.h"

#include <cmath>
#include <initializer_list>

#include "geometry/trig.h"
#include "platform/out_stream.h"
#include "writer/emitters.h"

namespace {

/// Half the sweep above which a corner is an arc: cos(5 degrees), so that a
/// direction change of more than 10 degrees gets an arc, a flatter one a
/// straight chord.
double ArcThreshold(double pai) { return trig::Cos(pai / 36); }

double Degrees(const DrawingState& s, double radians) {
  return radians * 180.0 / s.PAI;
}

bool Finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

void PrintHeader(DrawingState& s) {
  platform::OutStream& o = *s.out;
  o.Str("# K_RENSEN ----  POINTcnt<");
  o.Int(s.iPOINTcnt);
  o.Str(">----- \n");
  for (int k = 0; k <= 5; ++k) {
    o.Str("#     PX[");
    o.Int(k);
    o.Str("]=");
    o.Fixed(s.PX[k], 1);
    o.Str(" PY[");
    o.Int(k);
    o.Str("]=");
    o.Fixed(s.PY[k], 1);
    o.Str(" \n");
  }
  o.Str("#     PX[iPOINTcnt]=");
  o.Fixed(s.PX[s.iPOINTcnt], 6);
  o.Str(" PY[iPOINTcnt]=");
  o.Fixed(s.PY[s.iPOINTcnt], 6);
  o.Str(" \n#     COMMAND-Option /c(");
  o.Fixed(s.Men, 1);
  o.Str(") \n");
}

/// "k0(...rad)(...dgree)  re(...)=lenx(...)/tan(k0)\n", shared by the k0
/// and bcos lines.
void PrintK0Tail(DrawingState& s, double k0, double re, double lenx) {
  platform::OutStream& o = *s.out;
  o.Str("k0(");
  o.Fixed(k0, 6);
  o.Str("rad)(");
  o.Fixed(Degrees(s, k0), 6);
  o.Str("dgree)  re(");
  o.Fixed(re, 6);
  o.Str(")=lenx(");
  o.Fixed(lenx, 6);
  o.Str(")/tan(k0)\n");
}

/// The level-2 markers of a corner: a text record and a circle of half its
/// radius at its centre, in the output; the sikaku line on the console.
void WriteMarkers(DrawingState& s, const CornerRec& c, double k0) {
  platform::OutStream& w = *s.fpw;
  w.Str("ch ");
  w.Fixed(c.cx, 1);
  w.Chr(' ');
  w.Fixed(c.cy, 1);
  w.Str(" 3,0,\"");
  w.Fixed(c.r, 1);
  w.Chr(',');
  w.Fixed(-c.h, 1);
  w.Chr(',');
  w.Fixed(c.h, 1);
  w.Chr(',');
  w.Fixed(c.tilt, 1);
  w.Str(" k0(");
  w.Fixed(Degrees(s, k0), 1);
  w.Str(")\n");
  Kci(s, c.cx, c.cy, 0.5 * c.r);
  s.out->Str("#  sikaku(0.0) syukaku(0.0)\n");
}

/// The connector of a corner: its arc, or the chord between its tangent
/// points.
void Connector(DrawingState& s, const CornerRec& c) {
  if (c.isArc == 1) {
    Kdci(s, c.cx, c.cy, c.r, -c.h, c.h, 1.0, c.tilt);
  } else {
    Sen(s, c.t1x, c.t1y, c.t2x, c.t2y);
  }
}

}  // namespace

double LengSen(double x1, double y1, double x2, double y2) {
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

int R_RENSEN(DrawingState& s, RensenTrace* trace) {
  RensenTrace local;
  RensenTrace& tr = trace != nullptr ? *trace : local;
  tr = RensenTrace();
  auto fail = [&tr](int result, RensenTrace::Failure why, int where,
                    double need = 0.0, double have = 0.0) {
    tr.failure = why;
    tr.where = where;
    tr.need = need;
    tr.have = have;
    return result;
  };
  const bool level2 = s.isTest == 2;
  const double bcos = ArcThreshold(s.PAI);
  // A negative last point number has no entry either.
  if (s.iPOINTcnt > s.HPmax || s.iPOINT > s.HPmax || s.iPOINT < 0) {
    return fail(kRensenTooClose, RensenTrace::kTooManyPoints, s.iPOINTcnt);
  }
  if (s.isTest > 0) PrintHeader(s);

  // Closing step: a last point nearer than 2 Men to the first closes the
  // figure; the last point becomes point 1 and a copy of point 2 follows it,
  // so that the corner at point 1 is rounded like the others. Entry 20 of
  // PX/PY is room for that copy.
  double* PX = s.PX;
  double* PY = s.PY;
  int n = s.iPOINTcnt;
  bool isClosed = false;
  if (LengSen(PX[1], PY[1], PX[n], PY[n]) < 2 * s.Men) {
    isClosed = true;
    PX[n] = PX[1];
    PY[n] = PY[1];
    n = n + 1;
    PX[n] = PX[2];
    PY[n] = PY[2];
  }
  const int Ccnt = n;
  tr.Ccnt = Ccnt;
  tr.isClosed = isClosed;

  // No corner: two open points are one straight line; anything else (no
  // point, one point, a figure closed onto itself) draws nothing.
  if (Ccnt < 3) {
    if (isClosed || Ccnt != 2) {
      return fail(kRensenTooClose, RensenTrace::kNoCorner, Ccnt);
    }
    if (!Finite({PX[1], PY[1], PX[2], PY[2]})) {
      return fail(kRensenTooClose, RensenTrace::kNotFinite, 1);
    }
    Sen(s, PX[1], PY[1], PX[2], PY[2]);
    return kRensenOk;
  }

  // A point read as inf or nan can give no record the host could read.
  for (int i = 1; i <= Ccnt; ++i) {
    if (!Finite({PX[i], PY[i]})) {
      return fail(kRensenTooClose, RensenTrace::kNotFinite, i);
    }
  }

  // Spacing check: every side but the first of an open outline must be at
  // least 2 Men long.
  for (int i = 2; i <= Ccnt - 1; ++i) {
    double len1 = LengSen(PX[i], PY[i], PX[i + 1], PY[i + 1]);
    if (level2) {
      platform::OutStream& o = *s.out;
      o.Str("#  P(");
      o.Int(i);
      o.Str(")-P(");
      o.Int(i + 1);
      o.Str(") if len1(");
      o.Fixed(len1, 1);
      o.Str(") < 2.0 x Men(");
      o.Fixed(s.Men, 1);
      o.Str(") error \n");
    }
    if (2 * s.Men > len1) {
      return fail(kRensenTooClose, RensenTrace::kShortSide, i, 2 * s.Men, len1);
    }
  }

  // Corner pass. At a corner whose direction changes by 2 k0 the tangent
  // points lie lenx = Men / (2 |cos k0|) from the corner along each side, so
  // that they are Men apart, and the arc through them has the signed radius
  // re = lenx / tan k0: positive (centre to the left) for a left turn. k0 is
  // not reduced to a range; |cos| and tan are the same for the real turn.
  CornerRec* c = tr.corners;  // the corner table lives in the trace
  double re = 0.0;
  for (int v = 2; v <= Ccnt - 1; ++v) {
    CornerRec& k = c[v];
    double len_in = LengSen(PX[v - 1], PY[v - 1], PX[v], PY[v]);
    double ang_in = trig::Atan2(PY[v] - PY[v - 1], PX[v] - PX[v - 1]);
    double len_out = LengSen(PX[v], PY[v], PX[v + 1], PY[v + 1]);
    double ang_out = trig::Atan2(PY[v + 1] - PY[v], PX[v + 1] - PX[v]);
    double k0 = (ang_out - ang_in) * 0.5;
    double a = std::fabs(trig::Cos(k0));
    double lenx = s.Men * 0.5 / a;
    // Each side must hold one and a half cuts.
    if (1.5 * lenx > len_in) {
      return fail(kRensenTooSharp, RensenTrace::kSharpCorner, v, 1.5 * lenx,
                  len_in);
    }
    if (1.5 * lenx > len_out) {
      return fail(kRensenTooSharp, RensenTrace::kSharpCorner, v, 1.5 * lenx,
                  len_out);
    }
    if (a < bcos) {
      k.isArc = 1;
      if (k0 == 0.5 * s.PAI) {
        return fail(kRensenReversal, RensenTrace::kReversal, v);
      }
      re = lenx / trig::Tan(k0);
      if (level2) {
        s.out->Str("#   ");
        PrintK0Tail(s, k0, re, lenx);
      }
    } else {
      k.isArc = 0;  // a chord keeps the running re of the last arc
    }
    if (level2) {
      platform::OutStream& o = *s.out;
      o.Str("#  bcos(");
      o.Fixed(bcos, 6);
      o.Str(") a(");
      o.Fixed(a, 6);
      o.Chr(')');
      PrintK0Tail(s, k0, re, lenx);
    }
    k.t1x = PX[v - 1] + (len_in - lenx) * trig::Cos(ang_in);
    k.t1y = PY[v - 1] + (len_in - lenx) * trig::Sin(ang_in);
    k.t2x = PX[v] + lenx * trig::Cos(ang_out);
    k.t2y = PY[v] + lenx * trig::Sin(ang_out);
    k.cx = k.t1x - re * trig::Sin(ang_in);
    k.cy = k.t1y + re * trig::Cos(ang_in);
    k.tilt = trig::Atan2(PY[v] - k.cy, PX[v] - k.cx) * 180.0 / s.PAI;
    k.h = std::fabs(k0 * 180.0 / s.PAI);
    while (k.h > 90) k.h = std::fabs(k.h - 180);
    re = std::fabs(re);
    k.r = re;
    // A point read as inf or nan, or coordinates whose differences overflow,
    // would put a value into a record that the host cannot read.
    if (!Finite({PX[v - 1], PY[v - 1], PX[v], PY[v], PX[v + 1], PY[v + 1],
                 k.t1x, k.t1y, k.t2x, k.t2y, k.cx, k.cy, k.r, k.h, k.tilt})) {
      return fail(kRensenTooClose, RensenTrace::kNotFinite, v);
    }
    if (level2) WriteMarkers(s, k, k0);
  }

  // Emission pass: sides and connectors in order along the outline.
  const int L = Ccnt - 1;
  if (isClosed) {
    Sen(s, c[L].t2x, c[L].t2y, c[2].t1x, c[2].t1y);
  } else {
    Sen(s, PX[1], PY[1], c[2].t1x, c[2].t1y);
  }
  for (int v = 2; v <= L - 1; ++v) {
    Connector(s, c[v]);
    Sen(s, c[v].t2x, c[v].t2y, c[v + 1].t1x, c[v + 1].t1y);
  }
  if (level2) {
    platform::OutStream& o = *s.out;
    o.Str("# Ccnt(");
    o.Int(Ccnt);
    o.Str(") i(");
    o.Int(Ccnt > 3 ? Ccnt : 3);
    o.Str(") Men(");
    o.Fixed(s.Men, 6);
    o.Str(")\n");
  }
  Connector(s, c[L]);
  if (!isClosed) Sen(s, c[L].t2x, c[L].t2y, PX[Ccnt], PY[Ccnt]);
  return kRensenOk;
}
