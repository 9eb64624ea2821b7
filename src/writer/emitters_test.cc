#include "writer/emitters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "state/test_support.h"

namespace {

std::string Emit(const std::function<void(DrawingState&)>& emit, int level = 0) {
  MemoryState m;
  m.s.isTest = level;
  emit(m.s);
  m.fpw.Flush();
  return m.output;
}

TEST(Emitters, LineAndPointRecords) {
  struct {
    std::function<void(DrawingState&)> emit;
    const char* line;
  } cases[] = {
      {[](auto& s) { Sen(s, 0, 0, 10, 0); },
       " 0.000000000000 0.000000000000 10.000000000000 0.000000000000 \r\n"},
      {[](auto& s) { Ten(s, -1.5, 2); }, "pt -1.500000000000 2.000000000000 \r\n"},
      {[](auto& s) { SL2out(s, 1, 2, 3, 4); },
       "sl 1.000000000000 2.000000000000 3.000000000000 4.000000000000\r\n"},
      {[](auto& s) { SL3out(s, 1, 2, 3, 4, 5, 6); },
       "sl 1.000000000000 2.000000000000 3.000000000000 4.000000000000 "
       "5.000000000000 6.000000000000\r\n"},
      {[](auto& s) { Kci(s, 1, 2, 0.5); },
       "ci 1.000000000000 2.000000000000 0.500000000000 \r\n"},
      {[](auto& s) { Kdci(s, 1, 2, 3, -45, 45, 1, 90); },
       "ci 1.000000000000 2.000000000000 3.000000000000 -45.000000000000 "
       "45.000000000000 1.000000000000 90.000000000000 \r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Emit(c.emit), c.line);
}

TEST(Emitters, SL4PrecisionFollowsTheDebugLevel) {
  auto sl4 = [](auto& s) { SL4out(s, 1, 2, 3, 4, 5, 6, 7, 8.25); };
  const std::string six =
      "sl 1.000000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 "
      "8.250000\r\n";
  EXPECT_EQ(Emit(sl4, 1), six);
  for (int level : {0, 2}) {
    EXPECT_EQ(Emit(sl4, level),
              "sl 1.000000000000 2.000000000000 3.000000000000 "
              "4.000000000000 5.000000000000 6.000000000000 7.000000000000 "
              "8.250000000000\r\n");
  }
}

TEST(Emitters, AttributeRecords) {
  struct {
    std::function<void(DrawingState&)> emit;
    const char* line;
  } cases[] = {
      {[](auto& s) { Lcout(s, 5); }, "lc5 \r\n"},
      {[](auto& s) { Ltout(s, -2); }, "lt-2 \r\n"},
      {[](auto& s) { Cnout(s, 4); }, "cn4 \r\n"},
      {[](auto& s) { SRGBout(s, 255, 255, 255); }, "lc10 #ffffff\r\n"},
      {[](auto& s) { SRGBout(s, 0, 0, 0); }, "lc10 #000000\r\n"},
      {[](auto& s) { SRGBout(s, 1, 256, 0); }, "lc10 #020000\r\n"},
      {[](auto& s) { SRGBout(s, 0, 0, -1); }, "lc10 #ffffffff\r\n"},
      {[](auto& s) { SRGBout(s, 0x7fffffff, 0x7fffffff, 0x7fffffff); },
       "lc10 #7ffefeff\r\n"},
      {[](auto& s) { S16RGBout(s, 0x1234); }, "lc10 #001234\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Emit(c.emit), c.line);
}

TEST(Emitters, EightNumberAndTextRecords) {
  const double v[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::string tail =
      " 1.0000000000 2.0000000000 3.0000000000 4.0000000000 5.0000000000 "
      "6.0000000000 7.0000000000 8.000000\r\n";
  EXPECT_EQ(Emit([&](auto& s) { SCout(s, v); }), "sc" + tail);
  EXPECT_EQ(Emit([&](auto& s) { SEout(s, v); }), "se" + tail);
  EXPECT_EQ(Emit([&](auto& s) { SOout(s, v); }), "so" + tail);
  EXPECT_EQ(Emit([](auto& s) { MojiOutS(s, 1, 2, "A"); }),
            "ch 1.000000 2.000000 3 0 \"A\r\n");
  EXPECT_EQ(Emit([](auto& s) { MojiOutSD(s, 1, 2, 3.5, "A"); }),
            "ch 1.000000 2.000000 3 0 \"A 3.500000\r\n");
  EXPECT_EQ(Emit([](auto& s) { MojiOutD1(s, 1, 2, -3); }),
            "ch 1.000000 2.000000 3 0 \"-3\r\n");
  EXPECT_EQ(Emit([](auto& s) { MojiOutD2(s, 1, 2, 4, 7); }),
            "ch 1.000000 2.000000 3 0 \"4,7\r\n");
}

}  // namespace
