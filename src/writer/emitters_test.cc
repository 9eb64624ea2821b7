#include "writer/emitters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using platform::OutStream;

std::string Emit(const std::function<void(OutStream&)>& write) {
  std::string bytes;
  {
    OutStream out(&bytes);
    write(out);
  }
  return bytes;
}

TEST(Emitters, EveryRecordByteForByte) {
  const double v[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::string eight =
      " 1.0000000000 2.0000000000 3.0000000000 4.0000000000 5.0000000000 "
      "6.0000000000 7.0000000000 8.000000\r\n";
  struct {
    std::function<void(OutStream&)> write;
    std::string line;
  } cases[] = {
      {[](auto& o) { emit::Line(o, 0, 0, 10, 0); },
       " 0.000000000000 0.000000000000 10.000000000000 0.000000000000 \r\n"},
      {[](auto& o) { emit::Point(o, -1.5, 2); }, "pt -1.500000000000 2.000000000000 \r\n"},
      {[](auto& o) { emit::Chain(o, 1, 2, 3, 4); },
       "sl 1.000000000000 2.000000000000 3.000000000000 4.000000000000\r\n"},
      {[](auto& o) { emit::Chain(o, 1, 2, 3, 4, 5, 6); },
       "sl 1.000000000000 2.000000000000 3.000000000000 4.000000000000 "
       "5.000000000000 6.000000000000\r\n"},
      {[](auto& o) { emit::Chain(o, 1, 2, 3, 4, 5, 6, 7, 8.25, true); },
       "sl 1.000000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.250000\r\n"},
      {[](auto& o) { emit::Chain(o, 1, 2, 3, 4, 5, 6, 7, 8.25, false); },
       "sl 1.000000000000 2.000000000000 3.000000000000 4.000000000000 "
       "5.000000000000 6.000000000000 7.000000000000 8.250000000000\r\n"},
      {[](auto& o) { emit::Circle(o, 1, 2, 0.5); },
       "ci 1.000000000000 2.000000000000 0.500000000000 \r\n"},
      {[](auto& o) { emit::Arc(o, 1, 2, 3, -45, 45, 1, 90); },
       "ci 1.000000000000 2.000000000000 3.000000000000 -45.000000000000 "
       "45.000000000000 1.000000000000 90.000000000000 \r\n"},
      {[](auto& o) { emit::LineColour(o, 5); }, "lc5 \r\n"},
      {[](auto& o) { emit::LineType(o, -2); }, "lt-2 \r\n"},
      {[](auto& o) { emit::TextStyle(o, 4); }, "cn4 \r\n"},
      {[](auto& o) { emit::RgbColour(o, 255, 255, 255); }, "lc10 #ffffff\r\n"},
      {[](auto& o) { emit::RgbColour(o, 0, 0, 0); }, "lc10 #000000\r\n"},
      {[](auto& o) { emit::RgbColour(o, 1, 256, 0); }, "lc10 #020000\r\n"},  // adds
      {[](auto& o) { emit::RgbColour(o, 0, 0, -1); }, "lc10 #ffffffff\r\n"},
      {[](auto& o) { emit::RgbColour(o, 0x7fffffff, 0x7fffffff, 0x7fffffff); },
       "lc10 #7ffefeff\r\n"},
      {[](auto& o) { emit::PackedRgbColour(o, 0x1234); }, "lc10 #001234\r\n"},
      {[&](auto& o) { emit::EightNumbers(o, "sc", v); }, "sc" + eight},
      {[&](auto& o) { emit::EightNumbers(o, "so", v); }, "so" + eight},
      {[](auto& o) { emit::Text(o, 1, 2, "A"); }, "ch 1.000000 2.000000 3 0 \"A\r\n"},
      {[](auto& o) { emit::TextAndNumber(o, 1, 2, 3.5, "A"); },
       "ch 1.000000 2.000000 3 0 \"A 3.500000\r\n"},
      {[](auto& o) { emit::TextInteger(o, 1, 2, -3); }, "ch 1.000000 2.000000 3 0 \"-3\r\n"},
      {[](auto& o) { emit::TextIntegers(o, 1, 2, 4, 7); },
       "ch 1.000000 2.000000 3 0 \"4,7\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Emit(c.write), c.line);
}

}  // namespace
