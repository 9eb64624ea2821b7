#include "reader/kd_pattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "platform/text_reader.h"
#include "state/test_support.h"

namespace {

/// Reads `input` through KD_PATTERN into a fresh state.
struct Read : MemoryState {
  explicit Read(const std::string& input, unsigned int limit = 50000,
                int level = 0)
      : bytes(input), reader(bytes) {
    s.isTest = level;
    s.fp = &reader;
    result = KD_PATTERN(s, 7, limit);
    fpw.Flush();
  }
  std::string bytes;
  platform::TextReader reader;
  int result = -1;
};

TEST(Reader, AttributeRecordsAndTheirCaptures) {
  struct {
    const char* input;
    std::function<void(const DrawingState&)> check;
  } cases[] = {
      {"lc5\nlc7\n", [](auto& s) { EXPECT_EQ(s.COLOR, 7); EXPECT_EQ(s.COLORi, 5); }},
      {"lc20\nlc7\n", [](auto& s) { EXPECT_EQ(s.COLORi, 7); }},
      {"lc\n", [](auto& s) { EXPECT_EQ(s.COLOR, 1); EXPECT_EQ(s.COLORi, 1); }},
      {"lc4294967301\n", [](auto& s) { EXPECT_EQ(s.COLOR, 5); }},
      {"lt10\nlt3\n", [](auto& s) { EXPECT_EQ(s.TYPE, 3); EXPECT_EQ(s.TYPEi, 10); }},
      {"lg1f\n", [](auto& s) { EXPECT_EQ(s.GROUP, 31); EXPECT_EQ(s.GROUPi, 31); }},
      {"ly1f\nlyffffffff\n", [](auto& s) { EXPECT_EQ(s.LAYER, -1); EXPECT_EQ(s.LAYERi, 31); }},
      {"pn10\n", [](auto& s) { EXPECT_EQ(s.TENS, 16); EXPECT_EQ(s.TENSi, 16); }},
      {"pnffffffff\n", [](auto& s) { EXPECT_EQ(s.TENSi, -1); }},
      {"cc3\ncc4\n", [](auto& s) { EXPECT_EQ(s.MOJIK, 4); EXPECT_EQ(s.MOJIKi, 3); }},
      {"z12\n", [](auto& s) { EXPECT_EQ(s.ZOKU, 12); }},
      {"cn3\ncn0 1 2 3 4\n",
       [](auto& s) {
         EXPECT_EQ(s.MOJISi, 3);
         EXPECT_EQ(s.MOJIS, 0);
         EXPECT_EQ(s.MOJIWi, -20.0);
         EXPECT_EQ(s.MOJI_W[0], 1.0);
         EXPECT_EQ(s.MOJI_C[0], 4);
       }},
      {"cn0 2.5 3 0.5 1\ncn3\ncn0 9 9 9 9\n",
       [](auto& s) {
         EXPECT_EQ(s.MOJISi, 0);
         EXPECT_EQ(s.MOJIS, 0);
         EXPECT_EQ(s.MOJIWi, 2.5);
         EXPECT_EQ(s.MOJIHi, 3.0);
         EXPECT_EQ(s.MOJIDi, 0.5);
         EXPECT_EQ(s.MOJICi, 1);
         EXPECT_EQ(s.MOJI_W[0], 9.0);
       }},
      {"cn0 2.5, 3, 0.5, 1\n",
       [](auto& s) {
         EXPECT_EQ(s.MOJI_W[0], 2.5);
         EXPECT_EQ(s.MOJI_H[0], 0.0);
         EXPECT_EQ(s.MOJIHi, 0.0);
       }},
      {"cn\"abc\n", [](auto& s) { EXPECT_EQ(s.MOJIS, 1); EXPECT_EQ(s.MOJISi, 20); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Read r(c.input);
    c.check(r.s);
    EXPECT_EQ(r.output, "");
  }
}

TEST(Reader, DrawingAndTableRecords) {
  struct {
    const char* input;
    std::function<void(const DrawingState&)> check;
  } cases[] = {
      {"ci 0 0 5\n",
       [](auto& s) {
         EXPECT_EQ(s.CR, 5.0);
         EXPECT_EQ(s.SK, 0.0);
         EXPECT_EQ(s.EK, 360.0);
         EXPECT_EQ(s.HP, -2.0);
         EXPECT_EQ(s.iCi_cnt, 1);
       }},
      {"ci 1 2 3 30 60 1 45\nci 0 0 5 30 60\n",
       [](auto& s) {
         EXPECT_EQ(s.SK, 30.0);
         EXPECT_EQ(s.EK, 60.0);
         EXPECT_EQ(s.HP, -2.0);
         EXPECT_EQ(s.JK, 0.0);
         EXPECT_EQ(s.iCi_cnt, 2);
       }},
      {"ch 1 2 3 4 \"hello world\n",
       [](auto& s) {
         EXPECT_EQ(s.ChX, 1.0);
         EXPECT_EQ(s.ChDY, 4.0);
         EXPECT_STREQ(s.ChSTR, "hello");
       }},
      {" 1 1 1 1\n",
       [](auto& s) {
         EXPECT_EQ(s.ILINEx2, 1.0);
         EXPECT_EQ(s.iLine_cnt, 0);
         EXPECT_EQ(s.stepcnt, 0);
       }},
      {" 0 0 10 0\n", [](auto& s) { EXPECT_EQ(s.iLine_cnt, 1); EXPECT_EQ(s.stepcnt, 3); }},
      {"hq\n", [](auto& s) { EXPECT_EQ(s.stepcnt, 1); }},
      {"hhx1\n", [](auto& s) { EXPECT_EQ(s.stepcnt, 2); }},
      {"hh1\n", [](auto& s) { EXPECT_EQ(s.stepcnt, 0); }},
      {"hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n",
       [](auto& s) { EXPECT_EQ(s.G_SCALE[0], 1.0); EXPECT_EQ(s.G_SCALE[15], 16.0); }},
      {"hs 2 x\n", [](auto& s) { EXPECT_EQ(s.G_SCALE[0], 2.0); EXPECT_EQ(s.G_SCALE[1], 1.0); }},
      {"hcw 1 2 3 4 5 6 7 8 9 10\nhcc 1 2 3 4 5 6 7 8 9 10\n",
       [](auto& s) {
         EXPECT_EQ(s.MOJI_W[1], 1.0);
         EXPECT_EQ(s.MOJI_W[10], 10.0);
         EXPECT_EQ(s.MOJI_C[10], 10);
         EXPECT_EQ(s.MOJI_W[0], 0.0);
       }},
      {"hch 5\nhcd 6\n", [](auto& s) { EXPECT_EQ(s.MOJI_H[1], 5.0); EXPECT_EQ(s.MOJI_D[1], 6.0); }},
      {"pt 3 4\n", [](auto& s) { EXPECT_EQ(s.KX[1], 3.0); EXPECT_EQ(s.KY[1], 4.0); }},
      {"pl\npl\n",
       [](auto& s) {
         EXPECT_EQ(s.iPL, 1);
         EXPECT_EQ(s.iPLcnt, 2);
         EXPECT_EQ(s.iLengK, 150.0);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Read r(c.input);
    c.check(r.s);
  }
}

TEST(Reader, PointRecordForms) {
  struct {
    const char* input;
    int count;   // iPOINTcnt afterwards
    int number;  // iPOINT afterwards
    int entry;   // entry that holds (x, y), or -1
    double x, y;
  } cases[] = {
      {"hp1 10 20\n", 1, 1, 1, 10, 20},
      {"hp3+ 1.5 -2\n", 1, 3, 3, 1.5, -2},
      {"hp4/ 1 2\n", 1, 4, 4, 1, 2},
      {"hp5- 1 2\n", 1, 5, 5, 1, 2},
      {"hp12- 7 8\n", 1, 12, 12, 7, 8},
      {"hp0 5 6\n", 1, 0, 0, 5, 6},
      {"hp12 7 8\n", 0, 0, -1, 0, 0},
      {"hp12+ 7 8\n", 0, 0, -1, 0, 0},
      {"hp12/ 7 8\n", 0, 0, -1, 0, 0},
      {"hp25- 7 8\n", 1, 25, -1, 0, 0},
      {"hp-3- 7 8\n", 1, -3, -1, 0, 0},  // negative: counted, not stored
      {"hp2 1 1\nhpx 3 4\n", 2, 2, 2, 3, 4},
      {"hpx 3 4\n", 1, 0, 0, 3, 4},
      {"hp1 9\n", 1, 1, 1, 9, 0},
      {"hp", 0, 0, -1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Read r(c.input);
    EXPECT_EQ(r.s.iPOINTcnt, c.count);
    EXPECT_EQ(r.s.iPOINT, c.number);
    for (int k = 0; k <= 20; ++k) {
      bool hit = k == c.entry;
      EXPECT_EQ(r.s.PX[k], hit ? c.x : 0.0) << k;
      EXPECT_EQ(r.s.PY[k], hit ? c.y : 0.0) << k;
    }
  }
}

TEST(Reader, NoStaleTextFromALongerLine) {
  // Each last line ends without a line end and is shorter than the line
  // before; none of them may see that line's characters.
  Read hp("hp1 10 20 30 40\nhp");
  EXPECT_EQ(hp.s.iPOINTcnt, 1);
  Read hh("hhx1\nhh");
  EXPECT_EQ(hh.s.stepcnt, 2);
  Read hh2("hq\nhhx");
  EXPECT_EQ(hh2.s.stepcnt, 1);
  Read c("ch 1 2 3 4 \"word\nc");
  EXPECT_STREQ(c.s.ChSTR, "word");
  EXPECT_EQ(c.s.ChX, 1.0);
  Read ci("cc5\nc");
  EXPECT_EQ(ci.s.MOJIK, 5);
}

TEST(Reader, PassThroughAndLimit) {
  Read r("# note\nbz 1\nlc3\n" "#" + std::string(300, 'c') + "\nbz\n");
  EXPECT_EQ(r.output, "# note\r\nbz 1\r\n#" + std::string(300, 'c') +
                          "\r\nbz\r\n");
  EXPECT_EQ(r.s.iLengK, 150.0);  // PLreset ran at the comment
  EXPECT_EQ(r.result, 0);

  // A long line of another kind is dispatched piece by piece: its second
  // piece here is a point record of its own.
  Read pieces("z" + std::string(253, '1') + "hp1 5 6\n");
  EXPECT_EQ(pieces.s.iPOINTcnt, 1);
  EXPECT_EQ(pieces.s.PX[1], 5.0);

  Read unended("bz 1\n# last");
  EXPECT_EQ(unended.output, "bz 1\r\n# last\r\n");

  Read limited("lc3\nlc4\nlc5\nlc6\n# x\n", 3);
  EXPECT_EQ(limited.s.COLOR, 5);
  EXPECT_EQ(limited.output, "");
  Read none("lc3\n", 0);
  EXPECT_EQ(none.s.COLOR, 1);
}

TEST(Reader, LevelThreeTrace) {
  Read r("hp1 10 20\nhp2+ 1 2\nhp25- 1 2\n", 50000, 3);
  const std::string head =
      "## ---- KD_PATTERN()  kdx_temp.txt processing --------\n";
  EXPECT_EQ(r.console,
            head + "##  jd_x=0/7 : jd_x/jd_xmax  jd_limit=50000\n"
                   "##  buf=(hp1 10 20\n)\n"
                   "##  hp1   10.000000 20.000000 \n" +
                head + "##  jd_x=1/7 : jd_x/jd_xmax  jd_limit=50000\n"
                       "##  buf=(hp2+ 1 2\n)\n" +
                head + "##  jd_x=2/7 : jd_x/jd_xmax  jd_limit=50000\n"
                       "##  buf=(hp25- 1 2\n)\n");
}

}  // namespace
