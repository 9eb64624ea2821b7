#include "web/page_api.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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

const fs::path kSource = RRENSEN_SOURCE_DIR;

/// The README's refused outline: side 4-5 is too short for size 5.
const char kRefused[] = "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 30\r\nhp5 0 22\r\n";

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
