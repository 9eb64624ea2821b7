#include "dxf/tag_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>


namespace dxf {
namespace {

using Pairs = std::vector<std::pair<int, std::string>>;

Pairs PairsOf(const TagList& list) {
  Pairs pairs;
  for (const Tag& t : list.tags) pairs.emplace_back(t.code, t.value);
  return pairs;
}

const char kPlain[] =
    "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\nwalls\n 10\n1.5\n  0\n"
    "ENDSEC\n  0\nEOF\n";

TEST(TagReader, LineEndsMarkAndTrailingBlanksReadTheSame) {
  const Pairs expected = PairsOf(ReadTags(kPlain));
  ASSERT_EQ(expected.size(), 7u);
  std::string crlf;
  std::string blanks;
  for (char c : std::string(kPlain)) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    blanks += c == '\n' ? std::string(" \t\n") : std::string(1, c);
  }
  struct {
    const char* name;
    std::string text;
    const char* line_end;
  } cases[] = {
      {"LF", kPlain, "\n"},
      {"CR LF", crlf, "\r\n"},
      {"byte-order mark", "\xEF\xBB\xBF" + std::string(kPlain), "\n"},
      {"mark and CR LF", "\xEF\xBB\xBF" + crlf, "\r\n"},
      {"trailing blanks", blanks, "\n"},
      {"no line end at the end", std::string(kPlain, sizeof kPlain - 2), "\n"},
      {"blank lines after EOF", std::string(kPlain) + "\n\n", "\n"},
  };
  for (const auto& c : cases) {
    TagList list = ReadTags(c.text);
    EXPECT_EQ(list.error, "") << c.name;
    EXPECT_EQ(PairsOf(list), expected) << c.name;
    EXPECT_EQ(list.layout.line_end, c.line_end) << c.name;
  }
}

TEST(TagReader, TagsCoverTheirBytesExactly) {
  // Copying each tag's bytes in order gives the file back: what the writer
  // relies on to leave untouched tags as they were.
  const std::string text = "\xEF\xBB\xBF  0 \r\nSECTION  \r\n2\nHEADER\n";
  TagList list = ReadTags(text);
  ASSERT_EQ(list.error, "");
  std::string copy = text.substr(0, list.tags.front().begin);
  for (const Tag& t : list.tags) {
    copy += text.substr(t.begin, t.end - t.begin);
    EXPECT_EQ(text.substr(t.value_begin, t.value_text_end - t.value_begin)
                  .substr(0, t.value.size()),
              t.value);
  }
  EXPECT_EQ(copy, text);
  EXPECT_EQ(list.tags[1].line, 3);
  EXPECT_TRUE(list.layout.padded_codes);
}

TEST(TagReader, BadFilesNameTheirFirstBadLine) {
  struct {
    std::string text;
    int line;
    const char* words;
  } cases[] = {
      {"  0\nSECTION\nabc\nx\n", 3, "'abc' is not a whole number"},
      {"  0\nSECTION\n-1\nx\n", 3, "not a whole number"},
      {"  0\nSECTION\n1072\nx\n", 3, "from 0 to 1071"},
      {"  0\nSECTION\n\nx\n", 3, "group code ''"},
      {"1 0\nx\n", 1, "not a whole number"},
      {"  0\nSECTION\n  2\n", 3, "group code 2 has no value line"},
      {"  0\n" + std::string(kMaxLineBytes + 1, 'x') + "\n", 2,
       "longer than"},
      {std::string(kMaxLineBytes + 1, '7'), 1, "longer than"},
  };
  for (const auto& c : cases) {
    TagList list = ReadTags(c.text);
    EXPECT_EQ(list.error_line, c.line) << c.text.substr(0, 30);
    EXPECT_NE(list.error.find(c.words), std::string::npos) << list.error;
    EXPECT_TRUE(list.tags.empty());
  }
}

TEST(TagReader, RefusesBinaryDxf) {
  for (std::string prefix : {"", "\xEF\xBB\xBF"}) {
    TagList list =
        ReadTags(prefix + std::string("AutoCAD Binary DXF\r\n\x1a\0\0\x02", 24));
    EXPECT_NE(list.error.find("binary DXF"), std::string::npos);
  }
}

TEST(TagReader, StopsAtEof) {
  TagList list = ReadTags("  0\nEOF\n  0\nnot read\ngarbage");
  EXPECT_EQ(list.error, "");
  EXPECT_EQ(list.tags.size(), 1u);
}

}  // namespace
}  // namespace dxf
