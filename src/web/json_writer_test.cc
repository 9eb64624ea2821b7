#include "web/json_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace web {
namespace {

std::string Str(std::string_view text) {
  JsonWriter json;
  json.String(text);
  return json.text();
}

TEST(JsonWriter, StringsAreEscapedAndAlwaysUtf8) {
  struct {
    std::string in, out;
  } cases[] = {
      {"plain", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"tab\there\n", "\"tab\\u0009here\\u000a\""},
      {"\xE5\xAF\xB8\xE6\xB3\x95", "\"\xE5\xAF\xB8\xE6\xB3\x95\""},  // UTF-8 passes
      {"\x90\xA1", "\"\\ufffd\\ufffd\""},                        // Shift-JIS does not
      {"\xC0\xAF", "\"\\ufffd\\ufffd\""},                        // overlong
      {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},             // a surrogate
      {"\xE5\xAF", "\"\\ufffd\\ufffd\""},                        // cut short
      {std::string("nul\0byte", 8), "\"nul\\u0000byte\""},
  };
  for (const auto& c : cases) EXPECT_EQ(Str(c.in), c.out) << c.in;
}

TEST(JsonWriter, ObjectsArraysAndNumbers) {
  JsonWriter json;
  json.BeginObject();
  json.Key("a");
  json.BeginArray();
  json.Number(0.1);
  json.Number(1e23);
  json.Number(-0.0);
  json.Number(std::numeric_limits<double>::infinity());
  json.Number(std::numeric_limits<double>::quiet_NaN());
  json.Integer(-7);
  json.EndArray();
  json.Key("b");
  json.BeginObject();
  json.EndObject();
  json.Key("c");
  json.Bool(true);
  json.Key("d");
  json.Null();
  json.EndObject();
  EXPECT_EQ(json.text(), R"({"a":[0.1,1e+23,-0,null,null,-7],"b":{},"c":true,"d":null})");
}

}  // namespace
}  // namespace web
