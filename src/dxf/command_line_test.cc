#include "dxf/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dxf {
namespace {

TEST(ParseCommandLine, ReadsEveryOption) {
  const CommandLine line = ParseCommandLine(
      {"-c", "2.5", "in.dxf", "-o", "out.dxf", "--layer", "walls", "--close-gap",
       "0.5", "--report", "r.jsonl", "--dry-run", "--style", "radius", "-j", "3", "b.dxf"});
  EXPECT_EQ(line.error, "");
  EXPECT_EQ(line.inputs, (std::vector<std::string>{"in.dxf", "b.dxf"}));
  EXPECT_EQ(line.jobs, 3);
  EXPECT_EQ(line.output, "out.dxf");
  EXPECT_EQ(line.report, "r.jsonl");
  EXPECT_TRUE(line.dry_run);
  EXPECT_EQ(line.settings.size, 2.5);
  EXPECT_EQ(line.settings.style, rrensen::CornerStyle::kRadiusArc);
  EXPECT_EQ(line.settings.layer, "walls");
  EXPECT_EQ(line.settings.close_gap, 0.5);
  EXPECT_EQ(line.settings.join_gap, std::nullopt);
}

TEST(ParseCommandLine, JoinGapJoinsWithTheGapGiven) {
  struct {
    std::vector<std::string> words;
    std::optional<double> gap;  ///< none: no joining
  } cases[] = {
      {{"in.dxf"}, std::nullopt},
      {{"in.dxf", "--join"}, kDefaultJoinGap},
      {{"in.dxf", "--join-gap", "0.01"}, 0.01},
      {{"--join-gap", "0", "--join", "in.dxf"}, 0.0},
      {{"--join-gap", "1e-3", "--join-gap", "2", "in.dxf"}, 2.0},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.words);
    EXPECT_EQ(line.error, "") << c.words.back();
    EXPECT_EQ(line.settings.join_gap, c.gap) << c.words.back();
  }
}

TEST(ParseCommandLine, SaysWhatIsWrongWithTheWords) {
  struct {
    std::vector<std::string> words;
    const char* error;
  } cases[] = {
      {{"in.dxf", "--join-gap", "-1"},
       "the join gap must be a finite number of 0 or more, not '-1'"},
      {{"in.dxf", "--join-gap", "nan"},
       "the join gap must be a finite number of 0 or more, not 'nan'"},
      {{"in.dxf", "--join-gap", "inf"},
       "the join gap must be a finite number of 0 or more, not 'inf'"},
      {{"in.dxf", "--join-gap", "tiny"},
       "the join gap must be a finite number of 0 or more, not 'tiny'"},
      {{"in.dxf", "--join-gap"}, "option --join-gap needs a value"},
      {{"in.dxf", "-o"}, "option -o needs a value"},
      {{"in.dxf", "-c", "-1"},
       "the fillet size must be a finite number of 0 or more, not '-1'"},
      {{"in.dxf", "--close-gap", "x"},
       "the gap must be a finite number of 0 or more, not 'x'"},
      {{"in.dxf", "--style", "round"},
       "unknown style 'round' (chord, radius, chamfer, chord-chamfer, dogbone or tbone)"},
      {{"in.dxf", "--max-angle", "0"},
       "the largest angle must be a number of degrees above 0 and at most 180, not '0'"},
      {{"in.dxf", "--tbone-side", "left"},
       "unknown T-bone side 'left' (longer, shorter, first or second)"},
      {{"in.dxf", "--corners", "inner"}, "unknown corners 'inner' (all, convex or concave)"},
      {{"in.dxf", "--joint"}, "unknown option '--joint'"},
      {{"-j", "0"}, "-j needs a whole number from 1 to 256, not '0'"},
      {{"--join"}, "no input file"},
      // The first fault is the one named.
      {{"-c", "x", "--join-gap", "y"},
       "the fillet size must be a finite number of 0 or more, not 'x'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseCommandLine(c.words).error, c.error);
  }
  EXPECT_EQ(ParseCommandLine({"--help"}).error, "");
  EXPECT_TRUE(ParseCommandLine({"-h"}).help);
  EXPECT_TRUE(ParseCommandLine({"--version"}).version);
}

}  // namespace
}  // namespace dxf
