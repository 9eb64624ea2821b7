#include "writer/ini_zokusei.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "state/test_support.h"

namespace {

TEST(RestoreBlock, WritesTheCapturedAttributes) {
  const double inf = std::numeric_limits<double>::infinity();
  struct {
    const char* name;
    std::function<void(DrawingState&)> captured;
    const char* block;
  } cases[] = {
      {"nothing captured", [](auto&) {}, "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"numbered style",
       [](auto& s) {
         s.GROUPi = 0;
         s.LAYERi = 31;
         s.TYPEi = 2;
         s.COLORi = 5;
         s.TENSi = 3;
         s.MOJISi = 4;
       },
       "cn4\r\nlg0\r\nly1f\r\nlt2\r\nlc5\r\npn3\r\n"},
      {"free style",
       [](auto& s) {
         s.MOJISi = 0;
         s.MOJIWi = 2.5;
         s.MOJIHi = 3;
         s.MOJIDi = 0.5;
         s.MOJICi = 2;
       },
       "cn0 2.500000, 3.000000, 0.500000, 2\r\nlg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"free style of width 0",
       [](auto& s) {
         s.MOJISi = 0;
         s.MOJIWi = 0;
       },
       "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"free style with an infinite size",
       [inf](auto& s) {
         s.MOJISi = 0;
         s.MOJIWi = 2;
         s.MOJIHi = inf;
       },
       "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"style 10 and pn 9",
       [](auto& s) {
         s.MOJISi = 10;
         s.TENSi = 9;
       },
       "cn10\r\nlg14\r\nly14\r\nlt20\r\nlc20\r\npn9\r\n"},
      {"style 11 and pn 10",
       [](auto& s) {
         s.MOJISi = 11;
         s.TENSi = 10;
       },
       "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"negative values",
       [](auto& s) {
         s.MOJISi = -2;
         s.LAYERi = -1;
         s.GROUPi = -16;
         s.TENSi = -1;
       },
       "cn-2\r\nlgfffffff0\r\nlyffffffff\r\nlt20\r\nlc20\r\npn-1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryState m;
    c.captured(m.s);
    IniZokusei(m.s);
    m.fpw.Flush();
    EXPECT_EQ(m.output, c.block);
  }
}

}  // namespace
