#include "view/picture_dxf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/number_text.h"
#include "dxf/tag_reader.h"

namespace view {
namespace {

const double kPi = std::acos(-1.0);

rrensen::Point OnArc(const PictureArc& a, double degrees) {
  return {a.centre.x + a.radius * std::cos(degrees * kPi / 180),
          a.centre.y + a.radius * std::sin(degrees * kPi / 180)};
}

TEST(PictureDxf, ArcsRunCounterClockwiseWhicheverWayTheOutlineTurns) {
  struct {
    const char* name;
    std::vector<rrensen::Point> points;
  } cases[] = {
      {"left turn", {{0, 0}, {100, 0}, {100, 100}}},
      {"right turn", {{0, 0}, {100, 0}, {100, -100}}},
  };
  for (const auto& c : cases) {
    rrensen::Outline outline = rrensen::FilletOutline(c.points, 5.0);
    ASSERT_EQ(outline.result, rrensen::Result::kDrawn);
    DxfPicture picture;
    AddOutline(picture, outline, kOutlineLayer);
    ASSERT_EQ(picture.arcs.size(), 1u) << c.name;
    ASSERT_EQ(picture.lines.size(), 2u) << c.name;
    const PictureArc& arc = picture.arcs[0];
    // A quarter turn: the counter-clockwise sweep from start to end is 90.
    double sweep = std::fmod(arc.end_degrees - arc.start_degrees + 360, 360);
    EXPECT_NEAR(sweep, 90.0, 1e-9) << c.name;
    // Its ends are the tangent points, which the lines meet.
    for (double degrees : {arc.start_degrees, arc.end_degrees}) {
      rrensen::Point p = OnArc(arc, degrees);
      bool meets = false;
      for (const PictureLine& l : picture.lines) {
        for (const rrensen::Point& q : {l.from, l.to}) {
          meets = meets || std::hypot(p.x - q.x, p.y - q.y) < 1e-9;
        }
      }
      EXPECT_TRUE(meets) << c.name << " at " << degrees;
    }
  }
}

TEST(PictureDxf, WritesAFileThatReadsBackWithEveryLayer) {
  DxfPicture picture;
  picture.points = {{{0, 0}, "1"}, {{100, 0}, "2"}, {{100, 100}, "3"}};
  AddOutline(picture,
             rrensen::FilletOutline({{0, 0}, {100, 0}, {100, 100}}, 5.0),
             kOutlineLayer);
  picture.lines.push_back({{100, 0}, {100, 100}, kRefusedLayer});
  std::string text = DrawingDxf(picture);
  dxf::TagList list = dxf::ReadTags(text);
  ASSERT_EQ(list.error, "");
  EXPECT_EQ(dxf::ReadDrawing(list).error, "");
  std::map<std::string, int> entities;
  std::map<std::string, int> layers;
  bool in_entities = false;
  for (size_t i = 0; i + 1 < list.tags.size(); ++i) {
    const dxf::Tag& t = list.tags[i];
    if (t.code == 2 && t.value == "ENTITIES") in_entities = true;
    if (in_entities && t.code == 0) ++entities[std::string(t.value)];
    if (!in_entities && t.code == 0 && t.value == "LAYER") {
      ++layers[std::string(list.tags[i + 1].value)];
    }
  }
  EXPECT_EQ(entities["POINT"], 3);
  EXPECT_EQ(entities["TEXT"], 3);
  EXPECT_EQ(entities["LINE"], 3);
  EXPECT_EQ(entities["ARC"], 1);
  EXPECT_EQ(layers, (std::map<std::string, int>{
                        {"0", 1}, {"outline", 1}, {"points", 1},
                        {"refused", 1}}));
  // Coordinates read back exactly.
  EXPECT_NE(text.find(" 10\n" + dxf::FormatCoordinate(picture.arcs[0].centre.x) +
                      "\n"),
            std::string::npos);
}

}  // namespace
}  // namespace view
