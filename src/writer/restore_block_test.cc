#include "writer/restore_block.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>


namespace {

TEST(RestoreBlock, WritesTheCapturedAttributes) {
  const double inf = std::numeric_limits<double>::infinity();
  struct {
    const char* name;
    std::function<void(CapturedAttributes&)> captured;
    const char* block;
  } cases[] = {
      {"nothing captured", [](auto&) {}, "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"numbered style",
       [](auto& s) {
         s.layer_group = 0;
         s.layer = 31;
         s.line_type = 2;
         s.line_colour = 5;
         s.pn_value = 3;
         s.text_style = 4;
       },
       "cn4\r\nlg0\r\nly1f\r\nlt2\r\nlc5\r\npn3\r\n"},
      {"free style",
       [](auto& s) {
         s.text_style = 0;
         s.free_style.width = 2.5;
         s.free_style.height = 3;
         s.free_style.depth = 0.5;
         s.free_style.colour = 2;
       },
       "cn0 2.500000, 3.000000, 0.500000, 2\r\nlg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"free style of width 0",
       [](auto& s) {
         s.text_style = 0;
         s.free_style.width = 0;
       },
       "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"free style with an infinite size",
       [inf](auto& s) {
         s.text_style = 0;
         s.free_style.width = 2;
         s.free_style.height = inf;
       },
       "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"style 10 and pn 9",
       [](auto& s) {
         s.text_style = 10;
         s.pn_value = 9;
       },
       "cn10\r\nlg14\r\nly14\r\nlt20\r\nlc20\r\npn9\r\n"},
      {"style 11 and pn 10",
       [](auto& s) {
         s.text_style = 11;
         s.pn_value = 10;
       },
       "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
      {"negative values",
       [](auto& s) {
         s.text_style = -2;
         s.layer = -1;
         s.layer_group = -16;
         s.pn_value = -1;
       },
       "cn-2\r\nlgfffffff0\r\nlyffffffff\r\nlt20\r\nlc20\r\npn-1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CapturedAttributes captured;
    c.captured(captured);
    std::string bytes;
    {
      platform::OutStream out(&bytes);
      WriteRestoreBlock(captured, out);
    }
    EXPECT_EQ(bytes, c.block);
  }
}

}  // namespace
