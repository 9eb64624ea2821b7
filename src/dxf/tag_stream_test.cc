#include "dxf/tag_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/test_support.h"

namespace dxf {
namespace {

using testing::TrickleSource;

/// Files the whole-file reader has rules for: line ends, blanks, the
/// byte-order mark, binary DXF, bad codes, missing values, long lines, the
/// end of the file and what follows it.
std::vector<std::string> Inputs() {
  const std::string long_value(kMaxLineBytes, 'x');
  return {
      "",
      "\xEF\xBB\xBF",
      "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n",
      "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nENTITIES  \r\n 10\r\n1.5\t \r\n"
      "  0\r\nEOF\r\n\r\ntrailing bytes",
      "0\nLINE\n10\n1\n0\nEOF\nnot\na tag\n",
      "  0\n EOF\n999\nstill tags\n  0\nEOF\n",
      "AutoCAD Binary DXF\r\n\x1a",
      "\xEF\xBB\xBF"
      "AutoCAD Binary DXF",
      "  0\nLINE\n  x\n1\n",
      "  0\nLINE\n 10",
      "  0\nLINE\n 10\n",
      "  0\nLINE\n 10\n2.5",
      "  0\nLINE\n 10\n2.5\r",
      "  0\nLINE\n 1 0\n2\n",
      "  0\nLINE\n10000\n2\n",
      "  0\nLINE\n1072\n2\n",
      "  0\nLINE\n  1\n" + long_value + "\n  0\nEOF\n",
      "  0\nLINE\n  1\n" + long_value + "\r\n  0\nEOF\n",
      "  0\nLINE\n  1\n" + long_value + "y\n  0\nEOF\n",
      "  0\nLINE\n" + long_value + "1\n2\n",
      "  0\nLINE\n  1\n" + long_value + "yz",
  };
}

void ExpectSameTag(const Tag& a, const Tag& b) {
  EXPECT_EQ(a.code, b.code);
  EXPECT_EQ(a.value, b.value);
  EXPECT_EQ(a.begin, b.begin);
  EXPECT_EQ(a.value_begin, b.value_begin);
  EXPECT_EQ(a.value_text_end, b.value_text_end);
  EXPECT_EQ(a.end, b.end);
  EXPECT_EQ(a.line, b.line);
}

TEST(TagStream, ReadsAsTheWholeFileReaderWhateverTheChunks) {
  // (bytes read at a time, most bytes a read gives)
  const std::pair<size_t, size_t> ways[] = {
      {1, 1}, {2, 3}, {7, 5}, {64, 64}, {1000, 1}, {size_t{1} << 20, 1 << 20}};
  for (const std::string& input : Inputs()) {
    // ReadTags drops the tags before a fault; the stream over the bytes in
    // memory, which never refills, gives them.
    TagList whole = ReadTags(input);
    if (!whole.error.empty()) {
      TagStream in_memory(input);
      Tag tag;
      while (in_memory.Next(tag)) whole.tags.push_back(tag);
    }
    for (const auto& [chunk, most] : ways) {
      SCOPED_TRACE(input.substr(0, 40) + " chunk " + std::to_string(chunk));
      TrickleSource source(input, most, 7);
      TagStream stream(source, chunk);
      TagWindow window(stream);
      // Holding the last five tags: their values stay good as the bytes
      // move.
      size_t count = 0;
      while (window.Has(count)) {
        ++count;
        const size_t oldest = count > 5 ? count - 5 : 0;
        for (size_t k = oldest; k < count; ++k) {
          ASSERT_LT(k, whole.tags.size());
          ExpectSameTag(window[k], whole.tags[k]);
        }
        window.Release(oldest, window[oldest].begin);
      }
      EXPECT_EQ(stream.error(), whole.error);
      EXPECT_EQ(stream.error_line(), whole.error_line);
      if (whole.error.empty()) {
        EXPECT_EQ(count, whole.tags.size());
        EXPECT_EQ(stream.layout().line_end, whole.layout.line_end);
        EXPECT_EQ(stream.layout().padded_codes, whole.layout.padded_codes);
        // What follows the last tag, as it was.
        StringSink rest;
        const size_t last_end = count == 0 ? 0 : window[count - 1].end;
        stream.CopyRest(count == 0 ? 0 : window[count - 1].begin, rest);
        EXPECT_EQ(rest.text,
                  input.substr(count == 0 ? 0 : window[count - 1].begin));
        EXPECT_LE(last_end, input.size());
      }
    }
  }
}

TEST(TagStream, HoldsOnlyWhatIsNotReleased) {
  // 40000 tags, 400 KB, read 4 KiB at a time and released as they come:
  // the buffer stays at two chunks.
  std::string input;
  for (int k = 0; k < 20000; ++k) input += "  0\nPOINT\n 10\n1.25\n";
  input += "  0\nEOF\n";
  TrickleSource source(input, 4096, 1);
  TagStream stream(source, 4096);
  Tag tag;
  size_t tags = 0;
  while (stream.Next(tag)) {
    ++tags;
    stream.Release(tag.end);
  }
  EXPECT_EQ(tags, 40001u);
  EXPECT_EQ(stream.error(), "");
  EXPECT_LE(stream.capacity(), 2u * 4096u);
  // Held, they are all kept.
  TrickleSource again(input, 4096, 1);
  TagStream holding(again, 4096);
  while (holding.Next(tag)) {
  }
  EXPECT_GE(holding.capacity(), input.size());
}

}  // namespace
}  // namespace dxf
