#include "web/page_api.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>


namespace web {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

/// A fresh, empty folder of the test's own.
fs::path Folder(const std::string& name) {
  fs::path folder = fs::temp_directory_path() / ("rrensen_web_test_" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

/// Runs `command` in a shell; returns its exit status.
int Shell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

const fs::path kSource = RRENSEN_SOURCE_DIR;

/// The README's refused outline: side 4-5 is too short for size 5.
const char kRefused[] = "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 30\r\nhp5 0 22\r\n";

TEST(PageApi, ExchangeRunsMatchTheTool) {
  // Every seed of the fuzz corpus (its first line holds the option words),
  // the README's example and the pictures' files, with several sizes.
  std::vector<std::pair<std::vector<std::string>, std::string>> runs;
  for (const auto& entry : fs::directory_iterator(kSource / "fuzz/corpus")) {
    std::string input = Read(entry.path());
    size_t nl = input.find('\n');
    std::istringstream line(input.substr(0, nl));
    std::vector<std::string> words;
    for (std::string word; line >> word;) words.push_back(word);
    runs.emplace_back(words, nl == std::string::npos ? "" : input.substr(nl + 1));
  }
  for (const std::string& exchange : {Read(kSource / "examples/kdx_temp.txt"), std::string(kRefused)}) {
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{}, {"-c3"}, {"/c0"}, {"-c19.5", "-t1"}, {"-c25"}, {"-c15"}}) {
      runs.emplace_back(words, exchange);
    }
  }
  const fs::path folder = Folder("exchange");
  for (const auto& [words, exchange] : runs) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    Write(folder / "kdx_temp.txt", exchange);
    std::string command = "cd " + Quote(folder.string()) + " && " + Quote(RRENSEN_PROGRAM);
    for (const std::string& word : words) command += " " + Quote(word);
    const int status = Shell(command + " >stdout.txt 2>stderr.txt");
    const ExchangeRun run = RunExchange(exchange, words);
    std::string what = "words:";
    for (const std::string& word : words) what += " " + word;
    EXPECT_EQ(run.status, status) << what;
    EXPECT_EQ(run.output, fs::exists(folder / "KDX_TEMP.TXT") ? Read(folder / "KDX_TEMP.TXT") : "")
        << what;
    EXPECT_EQ(run.console, Read(folder / "stdout.txt")) << what;
    EXPECT_EQ(run.errors, Read(folder / "stderr.txt")) << what;
  }
  fs::remove_all(folder);
}

/// The DXF files the tests run: the examples and rrensen-dxf's corpus.
std::vector<fs::path> DxfFiles() {
  std::vector<fs::path> files = {kSource / "examples/bracket.dxf", kSource / "examples/plate.dxf"};
  for (const auto& entry : fs::directory_iterator(kSource / "src/dxf/corpus")) {
    files.push_back(entry.path());
  }
  return files;
}

TEST(PageApi, ExchangePreviewSaysWhyAndWhichSizeDraws) {
  const std::string refused = kRefused;
  const std::string json = ExchangePreviewJson(refused, "5", "refused.txt");
  EXPECT_NE(json.find("\"result\":1"), std::string::npos) << json;
  EXPECT_NE(json.find("\"reason\":\"the side from point 4 to point 5 is 8.000 long and "
                      "needs 10.000\""),
            std::string::npos);
  EXPECT_NE(json.find("\"kind\":\"short_side\",\"point\":3,\"next\":4"), std::string::npos);
  EXPECT_NE(json.find("\"largest\":15.0"), std::string::npos);
  EXPECT_NE(json.find("<svg"), std::string::npos);
  EXPECT_EQ(LargestExchangeSize(refused), 15.0);
  // The size as the tool reads /c: 20 or more keeps 5, the sign is dropped.
  EXPECT_NE(ExchangePreviewJson(refused, "25", "").find("\"size\":5.0,"), std::string::npos);
  EXPECT_NE(ExchangePreviewJson(refused, "-15", "").find("\"size\":15.0,"), std::string::npos);
  const std::string drawn = ExchangePreviewJson(refused, "15", "");
  EXPECT_NE(drawn.find("\"result\":0"), std::string::npos);
  EXPECT_NE(drawn.find("\"largest\":null"), std::string::npos);
  EXPECT_TRUE(std::isnan(LargestExchangeSize("# no points\r\n")));
}

/// The value of the first `"key":` in `json` after `from`, as text up to
/// the next comma or closing bracket.
std::string ValueAfter(const std::string& json, const std::string& key, size_t from = 0) {
  const size_t at = json.find("\"" + key + "\":", from);
  if (at == std::string::npos) return "";
  const size_t begin = at + key.size() + 3;
  return json.substr(begin, json.find_first_of(",}]", begin) - begin);
}

TEST(PageApi, DxfPreviewListsAndPlacesEveryPolyline) {
  const std::string input = Read(kSource / "examples/bracket.dxf");
  DxfDocument document(input);
  ASSERT_EQ(document.error(), "");
  dxf::Settings outline;
  outline.layer = "HOLES";  // no polyline lies there
  std::vector<double> after;
  EXPECT_NE(document.FilletJson(outline, after).find("\"state\":\"other-layer\""),
            std::string::npos);
  EXPECT_TRUE(after.empty());
  const std::string polylines = document.PolylinesJson();
  EXPECT_NE(polylines.find("\"handle\":\"8E\",\"layer\":\"outline\""), std::string::npos);
  // Each polyline's vertices lie where its "points" say, three numbers each.
  const std::vector<double> vertices = document.Vertices();
  const size_t at = polylines.rfind("\"points\":[");
  size_t first = 0, count = 0;
  ASSERT_EQ(std::sscanf(polylines.c_str() + at, "\"points\":[%zu,%zu]", &first, &count), 2);
  EXPECT_EQ(vertices.size(), 3 * (first + count));
  // Every filleted polyline's vertices, three numbers each.
  const std::string filleted = document.FilletJson({}, after);
  size_t last_first = 0, last_count = 0;
  const size_t last = filleted.rfind("\"after\":[");
  ASSERT_EQ(std::sscanf(filleted.c_str() + last, "\"after\":[%zu,%zu]", &last_first, &last_count), 2);
  EXPECT_EQ(after.size(), 3 * (last_first + last_count));
  // The refused run of 8E, with its reason and the size that fillets it.
  EXPECT_NE(filleted.find("\"runs\":[{\"first\":0,\"last\":2,\"problem\":{\"kind\":\"short_side\",\"point\":1,\"next\":2"),
            std::string::npos)
      << filleted;
}

TEST(PageApi, DxfLargestSizeFilletsEveryPolylineThatSomeSizeFillets) {
  const std::string input = Read(kSource / "examples/bracket.dxf");
  DxfDocument document(input);
  const double largest = document.LargestSize(-1, {});
  ASSERT_TRUE(std::isfinite(largest));
  EXPECT_EQ(largest, 0.75);
  dxf::Settings at;
  at.size = largest;
  std::vector<double> after;
  EXPECT_NE(document.FilletJson(at, after).find("\"unchanged\":0,"), std::string::npos);
  at.size = largest + 0.001;
  EXPECT_EQ(document.FilletJson(at, after).find("\"unchanged\":0,"), std::string::npos);
  EXPECT_TRUE(std::isnan(document.LargestSize(1000, {})));
}

/// The objects of FilletJson's "polylines", one string each.
std::vector<std::string> PolylineObjects(const std::string& json) {
  const std::string start = "{\"state\"";
  const size_t end = json.rfind("],\"filleted\"");
  std::vector<std::string> objects;
  for (size_t at = json.find(start); at != std::string::npos && at < end;) {
    const size_t next = json.find(start, at + 1);
    objects.push_back(json.substr(at, (next == std::string::npos ? end : next) - at));
    at = next;
  }
  return objects;
}

/// Whether `object` (one of PolylineObjects) has a refused run that some
/// size fillets: one with a largest size.
bool RefusesAFillableRun(const std::string& object) {
  for (size_t at = object.find("\"largest\":"); at != std::string::npos;
       at = object.find("\"largest\":", at + 1)) {
    if (ValueAfter(object, "largest", at) != "null") return true;
  }
  return false;
}

TEST(PageApi, DxfLargestSizeOfEachPolylineIsWhereItsRunsStopBeingFilleted) {
  // At a polyline's largest size no run that some size fillets is refused;
  // a thousandth more refuses one for chord arcs, which count in
  // thousandths, and 1.0001 times it for the other styles, whose sizes are
  // given to six digits.
  int checked = 0;
  for (const fs::path& file : DxfFiles()) {
    DxfDocument document(Read(file));
    if (!document.error().empty()) continue;
    for (std::optional<double> gap : {std::optional<double>(), std::optional<double>(10.0)}) {
      for (int style = 0; style < 4; ++style) {
        dxf::Settings options;
        options.close_gap = gap;
        options.style = static_cast<rrensen::CornerStyle>(style);
        std::vector<double> after;
        const size_t count = PolylineObjects(document.FilletJson(options, after)).size();
        for (size_t index = 0; index < count; ++index) {
          const double largest = document.LargestSize(static_cast<int>(index), options);
          if (!std::isfinite(largest)) continue;
          const std::string what = file.filename().string() + " #" + std::to_string(index) + " " +
                                   rrensen::CornerStyleName(options.style);
          options.size = largest;
          EXPECT_FALSE(
              RefusesAFillableRun(PolylineObjects(document.FilletJson(options, after))[index]))
              << what << " at " << largest;
          options.size = style == 0 ? largest + 0.001 : largest * 1.0001;
          EXPECT_TRUE(
              RefusesAFillableRun(PolylineObjects(document.FilletJson(options, after))[index]))
              << what << " at " << largest;
          ++checked;
        }
      }
    }
  }
  EXPECT_GE(checked, 40);
}

TEST(PageApi, UnreadableDxfSaysWhere) {
  DxfDocument document("0\nSECTION\n2\n");
  EXPECT_NE(document.error(), "");
  EXPECT_EQ(FilletDxf("0\nSECTION\n2\n", {}).status, 2);
}

}  // namespace
}  // namespace web
