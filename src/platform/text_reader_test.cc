#include "platform/text_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/out_stream.h"

namespace {

std::vector<std::string> Pieces(platform::TextReader& r) {
  std::vector<std::string> v;
  platform::Piece p;
  while (r.ReadPiece(&p)) v.emplace_back(p.view());
  return v;
}

TEST(TextReader, HostTextModeAndFgetsPieces) {
  using V = std::vector<std::string>;
  struct {
    std::string bytes;
    V pieces;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a\n", "b\n"}},
      {"a\nb", {"a\n", "b"}},
      {"a\rb\r", {"a\rb\r"}},               // a lone CR is data
      {"a\r\r\n", {"a\r\n"}},
      {"a\r\n\x1a" "b\r\n", {"a\n"}},       // Ctrl-Z ends the input
      {std::string("a\0b\n", 4), {std::string("a\0b\n", 4)}},
      {std::string(300, 'x') + "\r\n",
       {std::string(254, 'x'), std::string(46, 'x') + "\n"}},
      {std::string(254, 'x') + "\n", {std::string(254, 'x'), "\n"}},
  };
  for (const auto& c : cases) {
    platform::TextReader r(c.bytes);
    EXPECT_EQ(Pieces(r), c.pieces) << c.bytes;
    EXPECT_TRUE(r.eof());
    EXPECT_FALSE(r.error());
  }
}

TEST(TextReader, EndOfFileFlagAsFgetsSetsIt) {
  platform::TextReader ended("a\n");
  platform::Piece p;
  ASSERT_TRUE(ended.ReadPiece(&p));
  EXPECT_FALSE(ended.eof());  // the line end was met, not the end of file
  platform::TextReader open_end("a");
  ASSERT_TRUE(open_end.ReadPiece(&p));
  EXPECT_TRUE(open_end.eof());
}

TEST(TextReader, CrLfSplitAcrossTheFileBuffer) {
  // A CR as the last byte of one buffer fill and its LF as the first of the
  // next still make one line end; the file round trip writes CR LF back.
  auto path = std::filesystem::temp_directory_path() / "rrensen_crlf_test.txt";
  std::string line(65535, 'y');
  std::string bytes = line + "\r\n" + "z\r\n";
  std::ofstream(path, std::ios::binary) << bytes;
  auto r = platform::TextReader::OpenFile(path.string());
  ASSERT_NE(r, nullptr);
  std::string all;
  for (const std::string& piece : Pieces(*r)) all += piece;
  EXPECT_EQ(all, line + "\nz\n");

  auto w = platform::OutStream::OpenFile(path.string());
  ASSERT_NE(w, nullptr);
  w->Str(all);
  ASSERT_TRUE(w->Close());
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
  std::filesystem::remove(path);
}

}  // namespace
