#include "dxf/batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/test_support.h"

namespace dxf {
namespace {

using testing::File;
using testing::MemoryFiles;

const std::string kSquare = File(testing::kSquareEntity);
const std::string kTight = File(testing::kTightEntity);

CommandLine Line(std::vector<std::string> words) {
  const CommandLine line = ParseCommandLine(words);
  EXPECT_EQ(line.error, "");
  return line;
}

TEST(PlanBatch, OutputsMirrorTheInputsAndNeverReplaceOne) {
  MemoryFiles files;
  for (const char* path : {"shop/a.dxf", "shop/job/B.DXF", "shop/notes.txt",
                           "shop/out/old.dxf", "x/a.dxf", "c.dxf"}) {
    files.files[path] = kSquare;
  }
  const BatchPlan plan = PlanBatch(Line({"-o", "shop/out", "shop", "c.dxf"}), files);
  ASSERT_EQ(plan.error, "");
  std::vector<std::string> seen;
  for (const BatchFile& file : plan.files) {
    seen.push_back(file.input + " > " + file.output);
    EXPECT_EQ(file.bytes, kSquare.size());
  }
  // Not the text file, nor the outputs of an earlier batch.
  EXPECT_EQ(seen, (std::vector<std::string>{"shop/a.dxf > shop/out/a.dxf",
                                            "shop/job/B.DXF > shop/out/job/B.DXF",
                                            "c.dxf > shop/out/c.dxf"}));

  const struct {
    std::vector<std::string> words;
    std::string error;
  } refused[] = {
      {{"shop", "c.dxf"}, "several drawings need -o OUTDIR, the folder their outputs go to"},
      {{"-o", "out", "shop/a.dxf", "x/a.dxf"},
       "'shop/a.dxf' and 'x/a.dxf' would both be written to 'out/a.dxf'"},
      {{"-o", "x", "c.dxf", "x/a.dxf"}, "'x/a.dxf' would be written over an input"},
      {{"-o", "out", "shop/out/old.dxf", "x/a.dxf"}, ""},
      {{"-o", "shop/out", "shop/out"}, "no drawings (*.dxf) in the folders given"},
  };
  for (const auto& c : refused) {
    EXPECT_EQ(PlanBatch(Line(c.words), files).error, c.error) << c.words.back();
  }
  // A dry run needs no output folder.
  EXPECT_EQ(PlanBatch(Line({"--dry-run", "shop", "c.dxf"}), files).error, "");
}

TEST(RunBatch, EachFileOnItsOwnAndOneSummary) {
  MemoryFiles files;
  files.files["in/a.dxf"] = kSquare;
  files.files["in/b.dxf"] = "not a drawing\n";
  files.files["in/c/d.dxf"] = File(testing::kSquareEntity + testing::kTightEntity);
  files.files["out/b.dxf"] = "an earlier output";
  MessageText said;
  const int status = RunBatch(Line({"-o", "out", "--report", "r.jsonl", "in"}), files, said,
                              BatchEnvironment{});
  // The worst file's status: b is not DXF.
  EXPECT_EQ(status, kFailed);
  EXPECT_EQ(said.text,
            "rrensen-dxf: 3 files: 2 written, 1 failed\n"
            "rrensen-dxf: 2 polylines filleted, 0 partly, 1 left unchanged\n"
            "rrensen-dxf: in/b.dxf:1: not a readable ASCII DXF file: "
            "group code 'not a drawing' is not a whole number from 0 to 1071\n");
  EXPECT_NE(files.files["out/a.dxf"], kSquare);
  EXPECT_EQ(files.files["out/b.dxf"], "an earlier output");
  EXPECT_EQ(files.files.count("out/c/d.dxf"), 1u);
  // The report: every line names its file first, in the inputs' order.
  const std::string& report = files.files["r.jsonl"];
  std::vector<std::string> heads;
  for (size_t at = 0; at < report.size(); at = report.find('\n', at) + 1) {
    heads.push_back(report.substr(at, report.find(',', at) - at));
  }
  EXPECT_EQ(heads, (std::vector<std::string>{"{\"file\":\"a.dxf\"", "{\"file\":\"c/d.dxf\"",
                                             "{\"file\":\"c/d.dxf\""}));
  EXPECT_EQ(files.files.size(), 7u) << "a scratch file is left";
}

TEST(RunBatch, AStopWritesNothingMoreAndSaysSo) {
  MemoryFiles files;
  files.files["a.dxf"] = kSquare;
  files.files["b.dxf"] = kTight;
  const std::atomic<bool> stop{true};
  BatchEnvironment environment;
  environment.stop = &stop;
  MessageText said;
  EXPECT_EQ(RunBatch(Line({"-o", "out", "a.dxf", "b.dxf"}), files, said, environment),
            kInterrupted);
  EXPECT_EQ(said.text,
            "rrensen-dxf: 2 files: 0 written, 0 failed, 2 not finished (interrupted)\n"
            "rrensen-dxf: 0 polylines filleted, 0 partly, 0 left unchanged\n");
  EXPECT_EQ(files.files.size(), 2u);
}

TEST(ProgressText, FilesBytesAndTimeLeft) {
  const struct {
    BatchProgress progress;
    const char* text;
  } cases[] = {
      {{0, 200, 0, 120000000, 0.0}, "0/200 files, 0.0/120.0 MB"},
      {{50, 200, 30000000, 120000000, 10.0}, "50/200 files, 30.0/120.0 MB, 0:30 left"},
      {{1, 4, 0, 0, 90.0}, "1/4 files, 0.0/0.0 MB, 4:30 left"},
      {{4, 4, 5000, 5000, 3.0}, "4/4 files, 0.0/0.0 MB"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgressText(c.progress), c.text);
}

}  // namespace
}  // namespace dxf
