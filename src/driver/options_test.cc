#include "driver/options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "state/test_support.h"

namespace {

TEST(Options, WordsAndTheFieldsTheyLeave) {
  struct {
    std::vector<const char*> words;
    std::function<void(const DrawingState&)> check;
    bool illegal;
  } cases[] = {
      {{"-c-4"}, [](auto& s) { EXPECT_EQ(s.Men, 4.0); }, false},
      {{"/C19.5"}, [](auto& s) { EXPECT_EQ(s.Men, 19.5); }, false},
      {{"-c2", "-c20"}, [](auto& s) { EXPECT_EQ(s.Men, 2.0); }, false},
      {{"-c25"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, false},
      {{"-c"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, false},
      {{"-c0"}, [](auto& s) { EXPECT_EQ(s.Men, 0.0); }, false},
      {{"-cabc"}, [](auto& s) { EXPECT_EQ(s.Men, 0.0); }, false},
      {{"-cnan"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, false},
      {{"-cinf"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, false},
      {{"-c1e-3x"}, [](auto& s) { EXPECT_EQ(s.Men, 0.001); }, false},
      {{"-t2", "-t"}, [](auto& s) { EXPECT_EQ(s.isTest, 0); }, false},
      {{"-t0"}, [](auto& s) { EXPECT_EQ(s.isTest, 0); }, false},
      {{"-t7"}, [](auto& s) { EXPECT_EQ(s.isTest, 0); }, false},
      {{"-T36"}, [](auto& s) { EXPECT_EQ(s.isTest, 3); }, false},
      {{"-a"}, [](auto& s) { EXPECT_EQ(s.wSCLR, 7); }, false},
      {{"-a9"}, [](auto& s) { EXPECT_EQ(s.wSCLR, 0); }, false},
      {{"-a16"}, [](auto& s) { EXPECT_EQ(s.wSCLR, 7); }, false},
      {{"-a-1"}, [](auto& s) { EXPECT_EQ(s.wSCLR, -1); }, false},
      {{"-g10", "-g11", "-g-1"}, [](auto& s) { EXPECT_EQ(s.iPEN1, 10); }, false},
      {{"-h0", "-h"}, [](auto& s) { EXPECT_EQ(s.iPEN2, 0); }, false},
      {{"-m1"}, [](auto& s) { EXPECT_EQ(s.iMode, 0); }, false},
      {{"-m2"}, [](auto& s) { EXPECT_EQ(s.iMode, 1); }, false},
      {{"-m-2"}, [](auto& s) { EXPECT_EQ(s.iMode, -2); }, false},
      {{"-m5", "-m"}, [](auto& s) { EXPECT_EQ(s.iMode, 0); }, false},
      {{"-w45"}, [](auto& s) { EXPECT_EQ(s.iMOJI_w, 30); }, false},
      {{"-w-3"}, [](auto& s) { EXPECT_EQ(s.iMOJI_w, -3); }, false},
      {{"-w"}, [](auto& s) { EXPECT_EQ(s.iMOJI_w, 5); }, false},
      {{"-e57"},
       [](auto& s) { EXPECT_EQ(s.exiro, 5); EXPECT_EQ(s.exsyu, 7); }, false},
      {{"-e57", "-e"},
       [](auto& s) { EXPECT_EQ(s.exiro, 0); EXPECT_EQ(s.exsyu, 0); }, false},
      {{"-e-123"},
       [](auto& s) { EXPECT_EQ(s.exiro, -12); EXPECT_EQ(s.exsyu, -3); }, false},
      {{"-n23"}, [](auto& s) { EXPECT_EQ(s.isNUM, 3); }, false},
      {{"-n4294967297"}, [](auto& s) { EXPECT_EQ(s.isNUM, 1); }, false},
      {{"-b5", "-d", "-F9"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, false},
      {{"-x"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, true},
      {{"-i3"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, true},
      {{"-5"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, true},
      {{"-"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, true},
      {{"/\xc3\xa9"}, [](auto& s) { EXPECT_EQ(s.Men, 5.0); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.back());
    MemoryState m;
    for (const char* w : c.words) opt(m.s, w);
    c.check(m.s);
    m.err.Flush();
    EXPECT_EQ(m.errors, c.illegal ? "\n illegal Option.\n" : "");
    if (m.s.isTest <= 2) {
      EXPECT_EQ(m.console, "");
    }
  }
}

TEST(Options, TraceFollowsEveryWordOnceTheLevelIsAboveTwo) {
  const std::string trace =
      "# --- command line option ---------------\n# --- wSCLR=(";
  MemoryState first;
  for (const char* w : {"-t3", "-a", "-x"}) opt(first.s, w);
  first.out.Flush();
  EXPECT_EQ(first.console, trace + "0)\n" + trace + "7)\n" + trace + "7)\n");

  MemoryState last;
  for (const char* w : {"-a2", "-t4"}) opt(last.s, w);
  last.out.Flush();
  EXPECT_EQ(last.console, trace + "2)\n");
}

}  // namespace
