#include "reader/exchange_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace reader {

namespace {

/// Reads `input` into fresh contents, with the pass-through and the console
/// in memory.
struct Read {
  explicit Read(const std::string& input, uint32_t limit = 50000,
                int32_t level = 0) {
    platform::TextReader reader(input);
    platform::OutStream out(&output);
    platform::OutStream console_stream(&console, false);
    ReadExchange(reader, ReadOptions{level, 7, limit}, out, console_stream,
                 &c);
  }
  ExchangeContents c;
  std::string output, console;
};

TEST(Reader, AttributeRecordsAndTheirCaptures) {
  struct {
    const char* input;
    std::function<void(const ExchangeContents&)> check;
  } cases[] = {
      {"lc5\nlc7\n", [](auto& s) { EXPECT_EQ(s.attributes.current.line_colour, 7); EXPECT_EQ(s.attributes.captured.line_colour, 5); }},
      {"lc20\nlc7\n", [](auto& s) { EXPECT_EQ(s.attributes.captured.line_colour, 7); }},
      {"lc\n", [](auto& s) { EXPECT_EQ(s.attributes.current.line_colour, 1); EXPECT_EQ(s.attributes.captured.line_colour, 1); }},
      {"lc4294967301\n", [](auto& s) { EXPECT_EQ(s.attributes.current.line_colour, 5); }},
      {"lt10\nlt3\n", [](auto& s) { EXPECT_EQ(s.attributes.current.line_type, 3); EXPECT_EQ(s.attributes.captured.line_type, 10); }},
      {"lg1f\n", [](auto& s) { EXPECT_EQ(s.attributes.current.layer_group, 31); EXPECT_EQ(s.attributes.captured.layer_group, 31); }},
      {"ly1f\nlyffffffff\n", [](auto& s) { EXPECT_EQ(s.attributes.current.layer, -1); EXPECT_EQ(s.attributes.captured.layer, 31); }},
      {"pn10\n", [](auto& s) { EXPECT_EQ(s.attributes.current.pn_value, 16); EXPECT_EQ(s.attributes.captured.pn_value, 16); }},
      {"pnffffffff\n", [](auto& s) { EXPECT_EQ(s.attributes.captured.pn_value, -1); }},
      {"cn3\ncn0 1 2 3 4\n",
       [](auto& s) {
         EXPECT_EQ(s.attributes.captured.text_style, 3);
         EXPECT_EQ(s.attributes.current.text_style, 0);
         EXPECT_EQ(s.attributes.captured.free_style.width, -20.0);
         EXPECT_EQ(s.attributes.current.free_style.width, 1.0);
         EXPECT_EQ(s.attributes.current.free_style.colour, 4);
       }},
      {"cn0 2.5 3 0.5 1\ncn3\ncn0 9 9 9 9\n",
       [](auto& s) {
         EXPECT_EQ(s.attributes.captured.text_style, 0);
         EXPECT_EQ(s.attributes.current.text_style, 0);
         EXPECT_EQ(s.attributes.captured.free_style.width, 2.5);
         EXPECT_EQ(s.attributes.captured.free_style.height, 3.0);
         EXPECT_EQ(s.attributes.captured.free_style.depth, 0.5);
         EXPECT_EQ(s.attributes.captured.free_style.colour, 1);
         EXPECT_EQ(s.attributes.current.free_style.width, 9.0);
       }},
      {"cn0 2.5, 3, 0.5, 1\n",
       [](auto& s) {
         EXPECT_EQ(s.attributes.current.free_style.width, 2.5);
         EXPECT_EQ(s.attributes.current.free_style.height, 0.0);
         EXPECT_EQ(s.attributes.captured.free_style.height, 0.0);
       }},
      {"cn\"abc\n", [](auto& s) { EXPECT_EQ(s.attributes.current.text_style, 1); EXPECT_EQ(s.attributes.captured.text_style, 20); }},
      // A last line without a line end, shorter than the one before: it sees
      // none of that line's characters (as in the stages and points below).
      {"cn3\nc", [](auto& s) { EXPECT_EQ(s.attributes.current.text_style, 3); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Read r(c.input);
    c.check(r.c);
    EXPECT_EQ(r.output, "");
  }
}

TEST(Reader, StageMarkers) {
  struct {
    const char* input;
    int32_t stage;
  } cases[] = {
      {" 1 1 1 1\n", 0},    // a line whose ends meet is no stage
      {" 0 0 10 0\n", 3},
      {" 0 0 10 0\n 1 x\n", 3},  // 1 0 10 0: the ends still differ
      {" 5 5 5 5\n 5 x\n", 0},   // unconverted values keep the last ones
      {"hq\n", 1},
      {"hhx1\n", 2},
      {"hh1\n", 0},  // position 3 holds the line end
      {"hhx1\nhh", 2},
      {"hq\nhhx", 1},
      {"hq\nci 0 0 5\nch 1 2 3 4 \"a\nhs 1\nhcw 1\npt 1 2\npl\nz1\ncc2\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Read r(c.input);
    EXPECT_EQ(r.c.stage, c.stage);
    EXPECT_EQ(r.output, "");
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
      {"hp1 10 20 30 40\nhp", 1, 1, 1, 10, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    Read r(c.input);
    EXPECT_EQ(r.c.points.record_count, c.count);
    EXPECT_EQ(r.c.points.last_number, c.number);
    for (int k = 0; k <= 19; ++k) {
      bool hit = k == c.entry;
      EXPECT_EQ(r.c.points.x[k], hit ? c.x : 0.0) << k;
      EXPECT_EQ(r.c.points.y[k], hit ? c.y : 0.0) << k;
    }
  }
}

TEST(Reader, PassThroughAndLimit) {
  Read r("# note\nbz 1\nlc3\n" "#" + std::string(300, 'c') + "\nbz\n");
  EXPECT_EQ(r.output, "# note\r\nbz 1\r\n#" + std::string(300, 'c') +
                          "\r\nbz\r\n");

  // A long line of another kind is dispatched piece by piece: its second
  // piece here is a point record of its own.
  Read pieces("z" + std::string(253, '1') + "hp1 5 6\n");
  EXPECT_EQ(pieces.c.points.record_count, 1);
  EXPECT_EQ(pieces.c.points.x[1], 5.0);

  Read unended("bz 1\n# last");
  EXPECT_EQ(unended.output, "bz 1\r\n# last\r\n");

  Read limited("lc3\nlc4\nlc5\nlc6\n# x\n", 3);
  EXPECT_EQ(limited.c.attributes.current.line_colour, 5);
  EXPECT_EQ(limited.output, "");
  Read none("lc3\n", 0);
  EXPECT_EQ(none.c.attributes.current.line_colour, 1);
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

}  // namespace reader
