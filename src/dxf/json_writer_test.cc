#include "dxf/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace dxf {
namespace {

std::string JsonString(std::string_view text) {
  JsonWriter json;
  json.String(text);
  return json.text();
}

std::string JsonNumber(double value) {
  JsonWriter json;
  json.Number(value);
  return json.text();
}

TEST(JsonWriter, StringsEscapeQuotesControlsAndEveryByteOutsideAscii) {
  struct {
    std::string in;
    const char* out;
  } cases[] = {
      {"walls", "\"walls\""},
      {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
      {"a\tb\nc\rd", "\"a\\tb\\nc\\rd\""},
      {std::string("nul\0bell\x07" "del\x7f", 13), "\"nul\\u0000bell\\u0007del\\u007f\""},
      // UTF-8: é (2 bytes), 壁 (3 bytes), 𝄞 (4 bytes: a surrogate pair).
      {"\xc3\xa9", "\"\\u00e9\""},
      {"\xe5\xa3\x81", "\"\\u58c1\""},
      // The highest lead bytes of 2 and 3 bytes: U+07FF, and the fullwidth
      // '!' of Japanese text, U+FF01.
      {"\xdf\xbf", "\"\\u07ff\""},
      {"\xef\xbc\x81", "\"\\uff01\""},
      {"\xf0\x9d\x84\x9e", "\"\\ud834\\udd1e\""},
      // Not UTF-8: one replacement character for each bad byte. Shift-JIS
      // 壁 (0x95 0xC7), a lone lead byte at the end, an overlong '/', an
      // encoded surrogate, a point above U+10FFFF.
      {"\x95\xc7", "\"\\ufffd\\ufffd\""},
      {"ab\xe5\xa3", "\"ab\\ufffd\\ufffd\""},
      {"\xc0\xaf", "\"\\ufffd\\ufffd\""},
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},
      {"\xf4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},
      {"\xe5\xa3x", "\"\\ufffd\\ufffdx\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(JsonString(c.in), c.out);
  }
}

TEST(JsonWriter, NumbersHaveTheShortestRoundTripDigitsOrAreNull) {
  struct {
    double in;
    const char* out;
  } cases[] = {
      {10.0, "10.0"},
      {-0.1, "-0.1"},
      {0.1 + 0.2, "0.30000000000000004"},
      {-0.0, "0.0"},
      {1.5e-7, "0.00000015"},
      {std::nan(""), "null"},
      {std::numeric_limits<double>::infinity(), "null"},
      {-std::numeric_limits<double>::infinity(), "null"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonNumber(c.in), c.out);
}

TEST(JsonWriter, ObjectsAndArraysSeparateTheirMembers) {
  JsonWriter json;
  json.BeginObject();
  json.Key("a");
  json.BeginArray();
  json.Number(0.5);
  json.Integer(-7);
  json.BeginArray();
  json.EndArray();
  json.EndArray();
  json.Key("b");
  json.BeginObject();
  json.EndObject();
  json.Key("c");
  json.Bool(true);
  json.Key("d");
  json.Null();
  json.EndObject();
  EXPECT_EQ(json.text(), R"({"a":[0.5,-7,[]],"b":{},"c":true,"d":null})");
}

}  // namespace
}  // namespace dxf
