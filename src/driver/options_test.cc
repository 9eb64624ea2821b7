#include "driver/options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {


namespace {

/// Applies `words` to fresh settings, the console and errors in memory.
struct Apply {
  explicit Apply(const std::vector<const char*>& words) {
    platform::OutStream c(&console, false), e(&errors, false);
    for (const char* w : words) ApplyOption(w, &s, c, e);
  }
  Settings s;
  std::string console, errors;
};

TEST(Options, WordsAndTheFieldsTheyLeave) {
  struct {
    std::vector<const char*> words;
    std::function<void(const Settings&)> check;
    bool illegal;
  } cases[] = {
      {{"-c-4"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 4.0); }, false},
      {{"/C19.5"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 19.5); }, false},
      {{"-c2", "-c20"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 2.0); }, false},
      {{"-c25"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, false},
      {{"-c"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, false},
      {{"-c0"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 0.0); }, false},
      {{"-cabc"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 0.0); }, false},
      {{"-cnan"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, false},
      {{"-cinf"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, false},
      {{"-c1e-3x"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 0.001); }, false},
      {{"-t2", "-t"}, [](auto& s) { EXPECT_EQ(s.debug_level, 0); }, false},
      {{"-t0"}, [](auto& s) { EXPECT_EQ(s.debug_level, 0); }, false},
      {{"-t7"}, [](auto& s) { EXPECT_EQ(s.debug_level, 0); }, false},
      {{"-T36"}, [](auto& s) { EXPECT_EQ(s.debug_level, 3); }, false},
      {{"-a"}, [](auto& s) { EXPECT_EQ(s.scale_colour, 7); }, false},
      {{"-a9"}, [](auto& s) { EXPECT_EQ(s.scale_colour, 0); }, false},
      {{"-a16"}, [](auto& s) { EXPECT_EQ(s.scale_colour, 7); }, false},
      {{"-a-1"}, [](auto& s) { EXPECT_EQ(s.scale_colour, -1); }, false},
      {{"-b5", "-d", "-F9", "-e57", "-g3", "-h", "-m2", "-n4294967297", "-w45"},
       [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, false},
      {{"-x"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, true},
      {{"-i3"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, true},
      {{"-5"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, true},
      {{"-"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, true},
      {{"/\xc3\xa9"}, [](auto& s) { EXPECT_EQ(s.fillet_size, 5.0); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.back());
    Apply a(c.words);
    c.check(a.s);
    EXPECT_EQ(a.errors, c.illegal ? "\n illegal Option.\n" : "");
    if (a.s.debug_level <= 2) {
      EXPECT_EQ(a.console, "");
    }
  }
}

TEST(Options, TraceFollowsEveryWordOnceTheLevelIsAboveTwo) {
  const std::string trace =
      "# --- command line option ---------------\n# --- wSCLR=(";
  Apply first({"-t3", "-a", "-x"});
  EXPECT_EQ(first.console, trace + "0)\n" + trace + "7)\n" + trace + "7)\n");

  Apply last({"-a2", "-t4"});
  EXPECT_EQ(last.console, trace + "2)\n");
}

}  // namespace

}  // namespace driver
