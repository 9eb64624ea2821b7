#include "writer/restore_block.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace writer {

namespace {

TEST(RestoreBlock, WritesTheCapturedAttributes) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::string nothing = "lg14\r\nly14\r\nlt20\r\nlc20\r\n";
  using C = reader::CapturedAttributes;
  struct {
    const char* name;
    std::function<void(C&)> captured;
    std::string block;
  } cases[] = {
      {"nothing captured", [](C&) {}, nothing},
      {"numbered style",
       [](C& c) { c.layer_group = 0, c.layer = 31, c.line_type = 2, c.line_colour = 5, c.pn_value = 3, c.text_style = 4; },
       "cn4\r\nlg0\r\nly1f\r\nlt2\r\nlc5\r\npn3\r\n"},
      {"free style", [](C& c) { c.text_style = 0, c.free_style = {2.5, 3, 0.5, 2}; },
       "cn0 2.500000, 3.000000, 0.500000, 2\r\n" + nothing},
      {"free style of width 0", [](C& c) { c.text_style = 0, c.free_style.width = 0; }, nothing},
      {"free style with an infinite size",
       [inf](C& c) { c.text_style = 0, c.free_style = {2, inf, 0, 0}; }, nothing},
      {"style 10 and pn 9", [](C& c) { c.text_style = 10, c.pn_value = 9; },
       "cn10\r\n" + nothing + "pn9\r\n"},
      {"style 11 and pn 10", [](C& c) { c.text_style = 11, c.pn_value = 10; }, nothing},
      {"negative values",
       [](C& c) { c.text_style = -2, c.layer = -1, c.layer_group = -16, c.pn_value = -1; },
       "cn-2\r\nlgfffffff0\r\nlyffffffff\r\nlt20\r\nlc20\r\npn-1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    reader::CapturedAttributes captured;
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

}  // namespace writer
