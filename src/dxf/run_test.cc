#include "dxf/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dxf/test_support.h"
#include "dxf/thread_workers.h"

namespace dxf {
namespace {

using testing::File;
using testing::Lightweight;
using testing::MemoryFiles;
using testing::VertexList;

const std::string& kSquare = testing::kSquareEntity;
const std::string& kTight = testing::kTightEntity;

struct Ran {
  int status = 0;
  std::string standard_output;
  std::string standard_error;
};

/// rrensen-dxf WORDS in.dxf over `files`, as main.cc runs it.
Ran RunWords(MemoryFiles& files, std::vector<std::string> words,
             Workers* workers = nullptr) {
  words.push_back("in.dxf");
  const CommandLine line = ParseCommandLine(words);
  Ran run;
  MessageText said;
  if (!line.error.empty()) {
    said.Say(UsageError(line.error));
    run.status = kFailed;
  } else {
    BytesOutput standard_output;
    run.status = RunCommandLine(line, files, standard_output, said, workers);
    run.standard_output = standard_output.bytes();
  }
  run.standard_error = said.text;
  return run;
}

TEST(RunCommandLine, StatusesAndWhatIsWritten) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> words;
    int status;
    bool writes_drawing;  ///< to out.dxf with -o, else to standard output
    bool writes_report;   ///< to r
  };
  const std::vector<Case> cases = {
      {"all filleted", File(kSquare), {"-o", "out.dxf"}, 0, true, false},
      {"one left unchanged", File(kSquare + kTight), {"--report", "r"}, 1, true, true},
      // Its first run fillets, its second (after the arc) has a side 3 long.
      {"one partly",
       File(Lightweight("2C", 0, {"0,0", "100,0", "100,100,0.5", "80,100", "0,100", "0,97"})),
       {}, 1, true, false},
      {"one partly, one left",
       File(kTight + Lightweight("2C", 0, {"0,0", "100,0", "100,100,0.5", "80,100", "0,100", "0,97"})),
       {}, 1, true, false},
      {"dry run", File(kSquare + kTight), {"--dry-run", "--report", "r"}, 1, false, true},
      {"usage error", File(kSquare), {"-c", "-1", "--report", "r"}, 2, false, false},
      {"unreadable", File("  0\nLWPOLYLINE\n 10\nx\n"), {"-o", "out.dxf", "--report", "r"},
       2, false, false},
  };
  for (const Case& c : cases) {
    MemoryFiles files;
    files.files["in.dxf"] = c.bytes;
    const Ran run = RunWords(files, c.words);
    EXPECT_EQ(run.status, c.status) << c.name;
    const bool to_file = files.files.count("out.dxf") == 1;
    EXPECT_EQ(to_file || !run.standard_output.empty(), c.writes_drawing) << c.name;
    EXPECT_EQ(files.files.count("r") == 1, c.writes_report) << c.name;
    EXPECT_EQ(files.files.size(), 1u + (to_file ? 1 : 0) + (c.writes_report ? 1 : 0))
        << c.name << ": a scratch file is left";
  }
}

TEST(RunCommandLine, StandardErrorSaysWhatBecameOfEachPolyline) {
  MemoryFiles files;
  files.files["in.dxf"] = File(kSquare);
  EXPECT_EQ(RunWords(files, {}).standard_error,
            "rrensen-dxf: 1 polylines filleted, 0 partly, 0 left unchanged\n");
  files.files["in.dxf"] = File(kSquare + kTight);
  EXPECT_EQ(RunWords(files, {"--dry-run", "--join"}).standard_error,
            "rrensen-dxf: LWPOLYLINE 2B on layer \"0\" (line 31) left unchanged: the "
            "side from point 2 to point 3 is 3.000 long and needs 10.000; the largest "
            "size that fillets it is 1.500\n"
            "rrensen-dxf: 1 polylines to fillet, 0 partly, 1 left unchanged\n"
            "rrensen-dxf: 0 chains of lines and arcs: 0 to fillet, 0 partly, 0 left "
            "unchanged; 0 polylines to make of 0 lines and 0 arcs\n");
  EXPECT_EQ(RunWords(files, {"-c", "-1"}).standard_error,
            "rrensen-dxf: the fillet size must be a finite number of 0 or more, "
            "not '-1'\nTry 'rrensen-dxf --help'.\n");
  // The file is named as the caller names it, with the line at fault.
  files.files["in.dxf"] = File("  0\nLWPOLYLINE\n 10\nx\n");
  EXPECT_EQ(RunWords(files, {}).standard_error,
            "rrensen-dxf: in.dxf:8: not a readable ASCII DXF file: the value of "
            "group code 10 is not a number\n");
  files.files.clear();
  EXPECT_EQ(RunWords(files, {}).standard_error, "rrensen-dxf: cannot open 'in.dxf'\n");
}

TEST(RunCommandLine, AFailedRunLeavesTheTargetAsItWasAndNothingBehind) {
  const std::string input = File(kSquare + kTight);
  struct Case {
    const char* name;
    void (*fault)(MemoryFiles& files, const std::string& input);
    const char* said;  ///< the last line of standard error
    bool join = false;  ///< --join, which takes two passes
  };
  const Case cases[] = {
      {"the second pass cannot read",
       [](MemoryFiles& f, const std::string& in) {
         f.sizes_unknown = true;
         f.fail_reads_after = in.size() + 40;
       },
       "rrensen-dxf: cannot read 'in.dxf'\n", true},
      {"the file changed between the passes",
       [](MemoryFiles& f, const std::string& in) {
         f.sizes_unknown = true;
         f.after_rewind["in.dxf"] = File(kTight + kSquare + kTight);
         static_cast<void>(in);
       },
       "rrensen-dxf: cannot read 'in.dxf': the file changed while it was being read\n", true},
      {"the one pass cannot read",
       [](MemoryFiles& f, const std::string& in) { f.fail_reads_after = in.size() / 2; },
       "rrensen-dxf: cannot read 'in.dxf'\n"},
      {"the one read of two passes fails",
       [](MemoryFiles& f, const std::string& in) { f.fail_reads_after = in.size() / 2; },
       "rrensen-dxf: cannot read 'in.dxf'\n", true},
      {"the scratch file cannot be made",
       [](MemoryFiles& f, const std::string&) { f.unwritable.insert("out.dxf.rrensen-dxf-part"); },
       "rrensen-dxf: cannot write 'out.dxf'\n"},
      {"the renaming fails",
       [](MemoryFiles& f, const std::string&) { f.renames_fail = true; },
       "rrensen-dxf: cannot write 'out.dxf'\n"},
  };
  for (const Case& c : cases) {
    MemoryFiles files;
    files.files["in.dxf"] = input;
    files.files["out.dxf"] = "the drawing that was there";
    c.fault(files, input);
    std::vector<std::string> words = {"-o", "out.dxf", "--report", "r"};
    if (c.join) words.push_back("--join");
    const Ran run = RunWords(files, words);
    EXPECT_EQ(run.status, kFailed) << c.name;
    const std::string& said = run.standard_error;
    EXPECT_EQ(said.substr(said.rfind("rrensen-dxf: ")), c.said) << c.name;
    EXPECT_EQ(files.files["out.dxf"], "the drawing that was there") << c.name;
    EXPECT_EQ(files.files.size(), 2u) << c.name << ": something is left behind";
  }
}

/// WORDS over `input` read once (two passes over it in memory when it needs
/// them), read twice (its size untold), and with its polylines run by
/// workers (a thread, and none: the caller runs them): the same status,
/// messages and files every way. The run, and the files it leaves.
std::pair<Ran, std::map<std::string, std::string>> OnceAndTwice(
    const std::string& input, const std::vector<std::string>& words) {
  MemoryFiles once;
  once.files["in.dxf"] = input;
  const Ran first = RunWords(once, words);
  ThreadWorkers thread(1), none(0);
  for (Workers* workers : {static_cast<Workers*>(nullptr), static_cast<Workers*>(&thread),
                           static_cast<Workers*>(&none)}) {
    MemoryFiles other;
    other.files["in.dxf"] = input;
    other.sizes_unknown = workers == nullptr;
    const Ran second = RunWords(other, words, workers);
    EXPECT_EQ(first.status, second.status);
    EXPECT_EQ(first.standard_error, second.standard_error);
    EXPECT_EQ(once.files, other.files);
  }
  return {first, once.files};
}

/// Read once, a drawing is written in one pass, or in two when it turns out
/// to need them (a vertex-list polyline after what was told already); read
/// twice, in two: the same files and messages either way.
TEST(RunCommandLine, OneReadOrTwoWriteTheSameAndTheOutputMayBeTheInput) {
  // A closed square in the vertex-list form takes handles for its new vertices.
  const std::string square = VertexList({"30", "31", "32", "33", "34", "35"}, 1);
  const std::string inputs[] = {File(kSquare + kTight), File(kTight + kSquare + square + kTight, "40")};
  for (const std::string& input : inputs) {
    auto [run, files] = OnceAndTwice(input, {"-o", "in.dxf", "--report", "r", "-c", "1"});
    EXPECT_EQ(run.status, kAllFilleted);
    EXPECT_NE(files["in.dxf"], input);
  }
  // Each polyline is told of once, by a run that started over too.
  auto [run, files] = OnceAndTwice(inputs[1], {"-o", "out.dxf", "--report", "r"});
  EXPECT_EQ(run.status, kSomeLeft);
  EXPECT_EQ(std::count(files["r"].begin(), files["r"].end(), '\n'), 4);
  EXPECT_EQ(std::count(run.standard_error.begin(), run.standard_error.end(), '\n'), 3);
  EXPECT_EQ(files["out.dxf"].find("$HANDSEED\n  5\n40\n"), std::string::npos);
  EXPECT_EQ(files.size(), 3u);
}

/// More messages than a run in one pass holds for a drawing read in pieces:
/// it starts over in two passes, and tells each polyline once.
TEST(RunCommandLine, ManyMessagesReadTheSameOnceOrTwice) {
  const size_t count = kHeldMessageBytes / 150;
  std::string entities;
  for (size_t k = 0; k < count; ++k) entities += kTight;
  const auto [run, files] = OnceAndTwice(File(entities + kSquare), {"-o", "out.dxf"});
  EXPECT_EQ(run.status, kSomeLeft);
  EXPECT_EQ(std::count(run.standard_error.begin(), run.standard_error.end(), '\n'),
            static_cast<std::ptrdiff_t>(count) + 1);
}

/// Polylines run by workers in batches, more of them than are queued at
/// once, among a vertex-list polyline (told of in its place), megabytes of
/// other entities and refused polylines: written and told of in file order.
TEST(RunCommandLine, PolylinesOnThreadsComeOutInFileOrder) {
  std::string entities;
  for (int k = 0; k < 1500; ++k) {
    // Every tenth too tight for size 4, so that it is told of.
    const std::string last = k % 10 == 0 ? "100,3" : "100,100";
    entities += Lightweight(std::to_string(100 + k), k % 2, {"0,0", "100,0", last});
    // One straight side: nothing to fillet, nothing rewritten.
    if (k == 700) entities += VertexList({"30", "31", "32", "33"}, 0);
    if (k == 900) {
      for (int line = 0; line < 30000; ++line) {
        entities += "  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n";
      }
    }
  }
  const auto [run, files] = OnceAndTwice(File(entities), {"-o", "out.dxf", "--report", "r", "-c", "4"});
  EXPECT_EQ(run.status, kSomeLeft);
  EXPECT_EQ(std::count(files.at("r").begin(), files.at("r").end(), '\n'), 1501);
  // A polyline far in that does not read: nothing is written, the fault
  // is named at its line.
  const std::string bad = File(entities + Lightweight("FF", 0, {"0,0", "x,5"}));
  const auto [refused, left] = OnceAndTwice(bad, {"-o", "out.dxf", "--report", "r"});
  EXPECT_EQ(refused.status, kFailed);
  EXPECT_NE(refused.standard_error.find("not a readable ASCII DXF file: the value of group code 10"),
            std::string::npos);
  EXPECT_EQ(left.size(), 1u);
}

/// A polyline longer than the survey holds at once, read once or twice:
/// filleted (status 0), refused (1), or with a bad number far in refused at
/// its line (2), and nothing written.
TEST(RunCommandLine, LongPolylinesReadTheSameOnceOrTwice) {
  std::vector<std::string> points;
  for (int k = 0; k < 5000; ++k) {
    points.push_back(std::to_string(k * 10 % 9973) + "," + std::to_string(k * 37 % 9967));
  }
  const std::string good = File(Lightweight("2C", 1, points));
  points[4000] = "x,5";
  const std::string bad = File(Lightweight("2C", 1, points));
  EXPECT_EQ(OnceAndTwice(good, {"-o", "out.dxf", "-c", "0.01"}).first.status, 0);
  EXPECT_EQ(OnceAndTwice(good, {"-o", "out.dxf", "-c", "1e6"}).first.status, 1);
  const auto [run, files] = OnceAndTwice(bad, {"-o", "out.dxf", "-c", "0.01"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.standard_error,
            "rrensen-dxf: in.dxf:16016: not a readable ASCII DXF file: "
            "the value of group code 10 is not a number\n");
  EXPECT_EQ(files.size(), 1u);
}

}  // namespace
}  // namespace dxf
