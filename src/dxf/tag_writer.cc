#include "dxf/tag_writer.h"

#include "dxf/number_text.h"

namespace dxf {
namespace {

/// Writes the group code line of `code` (0 to 9999) into `out`, which has
/// room for 4 bytes and the line end; returns its length.
size_t WriteCode(char* out, const TagLayout& layout, int code) {
  char digits[4];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + code % 10);
    code /= 10;
  } while (code > 0 && count < 4);
  size_t length = 0;
  if (layout.padded_codes) {
    for (; count + length < 3; ++length) out[length] = ' ';
  }
  while (count > 0) out[length++] = digits[--count];
  for (char c : layout.line_end) out[length++] = c;
  return length;
}

}  // namespace

void AppendTag(std::string& out, const TagLayout& layout, int code,
               std::string_view value) {
  std::string code_line(4 + layout.line_end.size(), ' ');
  code_line.resize(WriteCode(code_line.data(), layout, code));
  out += code_line;
  out.append(value);
  out.append(layout.line_end);
}

void AppendCoordinateTag(std::string& out, const TagLayout& layout, int code,
                         double value) {
  // One append of the whole tag, for the line ends tags have ("\n" or
  // "\r\n").
  if (layout.line_end.size() > 2) {
    AppendTag(out, layout, code, FormatCoordinate(value));
    return;
  }
  char text[4 + kCoordinateBytes + 2];
  size_t length = WriteCode(text, layout, code);
  length += WriteCoordinate(text + length, value);
  for (char c : layout.line_end) text[length++] = c;
  out.append(text, length);
}

}  // namespace dxf
