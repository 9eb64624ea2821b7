#include "dxf/run_dxf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/fillet_dxf.h"
#include "dxf/report_json.h"

namespace dxf {
namespace {

std::string File(const std::string& entities) {
  return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

/// An LWPOLYLINE through "x,y" points; "x,y,b" gives the piece that starts
/// there bulge b.
std::string Lightweight(const std::string& handle, int flags,
                        const std::vector<std::string>& points) {
  std::string text = "  0\nLWPOLYLINE\n  5\n" + handle + "\n  8\n0\n 70\n" +
                     std::to_string(flags) + "\n";
  for (const std::string& point : points) {
    const size_t comma = point.find(',');
    const size_t bulge = point.find(',', comma + 1);
    text += " 10\n" + point.substr(0, comma) + "\n 20\n" +
            point.substr(comma + 1, bulge - comma - 1) + "\n";
    if (bulge != std::string::npos) text += " 42\n" + point.substr(bulge + 1) + "\n";
  }
  return text;
}

const std::string kSquare =
    Lightweight("2A", 1, {"0,0", "100,0", "100,100", "0,100"});
/// Its last side, 3 long, is too short for size 5.
const std::string kTight = Lightweight("2B", 0, {"0,0", "100,0", "100,3"});

RunResult RunWords(const std::string& bytes, std::vector<std::string> words) {
  words.push_back("in.dxf");
  return RunOnBytes(bytes, ParseCommandLine(words), "in.dxf");
}

TEST(RunOnBytes, StatusesAndWhatIsWritten) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> words;
    int status;
    bool writes_drawing;
    bool writes_report;
  };
  const std::vector<Case> cases = {
      {"all filleted", File(kSquare), {"-o", "out.dxf"}, 0, true, false},
      {"nothing to fillet", File("  0\nLINE\n  8\n0\n"), {}, 0, true, false},
      {"one left unchanged", File(kSquare + kTight), {"--report", "r"}, 1, true, true},
      // Its first run fillets, its second (after the arc) has a side 3 long.
      {"one partly",
       File(Lightweight("2C", 0, {"0,0", "100,0", "100,100,0.5", "80,100", "0,100", "0,97"})),
       {}, 1, true, false},
      {"dry run", File(kSquare + kTight), {"--dry-run", "--report", "r"}, 1, false, true},
      {"any size", File(kSquare), {"-c", "1000"}, 1, true, false},
      {"usage error", File(kSquare), {"-c", "-1", "--report", "r"}, 2, false, false},
      {"unknown option", File(kSquare), {"--round"}, 2, false, false},
      {"unreadable", File("  0\nLWPOLYLINE\n 10\nx\n"), {"--report", "r"}, 2, false, false},
  };
  for (const Case& c : cases) {
    const RunResult run = RunWords(c.bytes, c.words);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.writes_drawing, c.writes_drawing) << c.name;
    EXPECT_EQ(run.writes_report, c.writes_report) << c.name;
    EXPECT_EQ(run.drawing.empty(), !c.writes_drawing) << c.name;
    EXPECT_EQ(run.report.empty(), !c.writes_report) << c.name;
  }
}

TEST(RunOnBytes, TheDrawingAndReportAreTheFilletingsOwn) {
  const std::string bytes = File(kSquare + kTight);
  const RunResult run = RunWords(bytes, {"-c", "2.5", "--close-gap", "4", "--report", "r"});
  FilletSettings settings;
  settings.size = 2.5;
  settings.close_gap = 4.0;
  const FilletRun direct = FilletDrawing(bytes, settings);
  EXPECT_EQ(run.drawing, direct.output);
  std::string report;
  for (const OutlineReport& outline : direct.outlines) report += ReportLine(outline) + "\n";
  EXPECT_EQ(run.report, report);
}

TEST(RunOnBytes, StandardErrorSaysWhatBecameOfEachPolyline) {
  EXPECT_EQ(RunWords(File(kSquare), {}).standard_error,
            "rrensen-dxf: 1 polylines filleted, 0 partly, 0 left unchanged\n");
  const RunResult tight = RunWords(File(kSquare + kTight), {"--dry-run"});
  EXPECT_EQ(tight.standard_error.substr(0, 50),
            "rrensen-dxf: LWPOLYLINE 2B on layer \"0\" (line 29) ");
  EXPECT_NE(tight.standard_error.find(
                "\nrrensen-dxf: 1 polylines to fillet, 0 partly, 1 left unchanged\n"),
            std::string::npos)
      << tight.standard_error;
  EXPECT_EQ(RunWords(File(kSquare), {"-c", "-1"}).standard_error,
            "rrensen-dxf: the fillet size must be a finite number of 0 or more, "
            "not '-1'\nTry 'rrensen-dxf --help'.\n");
  // The file is named as the caller names it, with the line at fault.
  EXPECT_EQ(RunWords(File("  0\nLWPOLYLINE\n 10\nx\n"), {}).standard_error.substr(0, 34),
            "rrensen-dxf: in.dxf:8: not a reada");
}

}  // namespace
}  // namespace dxf
