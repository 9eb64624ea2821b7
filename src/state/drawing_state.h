#ifndef RRENSEN_STATE_DRAWING_STATE_H_
#define RRENSEN_STATE_DRAWING_STATE_H_

#include <cstdint>

namespace platform {
class OutStream;
class TextReader;
}  // namespace platform

/// The one record of a run through which every part of the tool talks: the
/// current and captured attributes, the indicated points, the command-line
/// settings, the streams and the counters. One instance lives for the whole
/// run; each part takes it by reference and uses the fields directly.
///
/// Sentinel 20: a captured attribute (the fields ending in "i") holds 20 until
/// the first record of its kind fixes it; MOJIWi starts at -20.0 instead.
struct DrawingState {
  // Current attributes: the value of the most recent record of each kind.
  int32_t COLOR = 1;  ///< "lc", decimal
  int32_t TYPE = 1;   ///< "lt", decimal
  int32_t LAYER = 0;  ///< "ly", hexadecimal
  int32_t GROUP = 0;  ///< "lg", hexadecimal
  int32_t TENS = 1;   ///< "pn", hexadecimal
  int32_t MOJIS = 1;  ///< text style number of "cn"; "cn0" sets 0
  int32_t MOJIK = 0;  ///< "cc", decimal
  int32_t ZOKU = 0;   ///< "z", decimal

  // Captured attributes (sentinel 20), written back by the restore block.
  int32_t COLORi = 20;
  int32_t TYPEi = 20;
  int32_t LAYERi = 20;
  int32_t GROUPi = 20;
  int32_t TENSi = 20;
  int32_t MOJISi = 20;
  int32_t MOJIKi = 20;  ///< captured, never written back
  double MOJIWi = -20.0;
  double MOJIHi = 20.0;
  double MOJIDi = 20.0;
  int32_t MOJICi = 20;

  // Text-style table: entry 0 the free style of "cn0", 1..10 "hcw" etc.
  double MOJI_W[12] = {};
  double MOJI_H[12] = {};
  double MOJI_D[12] = {};
  int32_t MOJI_C[12] = {};

  /// The 16 numbers of the last "hs" record.
  double G_SCALE[16] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0,
                        1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0};

  // Last arc or circle record.
  double CX = 0.0, CY = 0.0, CR = 0.0;
  double SK = 0.0, EK = 0.0, HP = 0.0, JK = 0.0;
  int32_t iCi_cnt = 0;

  // Last text record.
  double ChX = 0.0, ChY = 0.0, ChDX = 0.0, ChDY = 0.0;
  char ChSTR[128] = {};  ///< at most 127 characters and a NUL

  // Last line record.
  double ILINEx1 = 0.0, ILINEy1 = 0.0, ILINEx2 = 0.0, ILINEy2 = 0.0;
  int32_t iLine_cnt = 0;  ///< line records whose end points differ

  /// Indicated points, indexed by point number. Entry 20 is room for the copy
  /// that closing a 19-point outline stores, so that it touches nothing else.
  double PX[21] = {};
  double PY[21] = {};
  int32_t iPOINT = 0;     ///< number of the most recent point record
  int32_t iPOINTcnt = 0;  ///< point records read, stored or not
  int32_t HPmax = 19;     ///< highest point number stored; constant
  double KX[10] = {};     ///< "pt" x at index 1
  double KY[10] = {};     ///< "pt" y at index 1

  // Run markers and debug level.
  int32_t stepcnt = 0;  ///< 1 after "hq", 2 after "hh?1", 3 after a line
  int32_t isTest = 0;   ///< debug level 0..6
  int32_t isZUSUN = 1;

  // Command-line settings.
  double Men = 5.0;  ///< fillet size: distance between the tangent points
  int32_t wSCLR = 0;
  int32_t exsyu = 0;
  int32_t exiro = 0;
  int32_t iMode = 0;
  int32_t isNUM = 0;
  int32_t iPEN1 = 3;
  int32_t iPEN2 = 1;
  int32_t iMOJI_w = 5;

  // Constants; the driver stores PAI and gomi at start.
  double PAI = 3.14159265358979;
  double gomi = 0.0;
  double Period = 150.0;

  // Streams: the exchange file being read, and the output (scratch file or
  // memory). `out` and `err` are the console: debug lines and messages.
  platform::TextReader* fp = nullptr;
  platform::OutStream* fpw = nullptr;
  platform::OutStream* out = nullptr;
  platform::OutStream* err = nullptr;

  // Polyline accumulators.
  int32_t iPL = 0;
  int32_t iPLcounter = 0;
  int32_t iPLcnt = 0;
  int32_t iKtensu = 0;
  double KYleng = 0.0;
  double iLengK = 0.0;  ///< a double despite its prefix
  double KYlengTotal = 0.0;
};

/// The double nearest to pi: the value the driver stores in PAI at start.
constexpr double kDriverPAI = 3.141592653589793;

/// Resets the polyline accumulators: iPL, iPLcounter, iKtensu, KYleng, and
/// loads iLengK from Period. Leaves iPLcnt and KYlengTotal alone.
void PLreset(DrawingState& s);

#endif  // RRENSEN_STATE_DRAWING_STATE_H_
