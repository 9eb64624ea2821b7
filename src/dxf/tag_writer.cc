#include "dxf/tag_writer.h"

#include <cstring>

#include "dxf/number_text.h"

namespace dxf {
namespace {

/// Writes the group code `code` (0 to 9999) into `out`, which has room for
/// 4 bytes; returns its length.
size_t WriteCode(char* out, const TagLayout& layout, int code) {
  auto rest = static_cast<unsigned>(code);
  const size_t count = rest < 10 ? 1 : rest < 100 ? 2 : rest < 1000 ? 3 : 4;
  // Padded, the digits are right-aligned in three columns: two blanks
  // first, which the digits write over where there are more of them.
  const size_t length = layout.padded_codes && count < 3 ? 3 : count;
  out[0] = ' ';
  out[1] = ' ';
  for (size_t k = length; k > length - count; --k) {
    out[k - 1] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  return length;
}

}  // namespace

void AppendTag(std::string& out, const TagLayout& layout, int code,
               std::string_view value) {
  char code_text[4];
  out.append(code_text, WriteCode(code_text, layout, code));
  out += layout.line_end;
  out += value;
  out += layout.line_end;
}

void AppendCoordinateTag(std::string& out, const TagLayout& layout, int code,
                         double value) {
  // One append of the whole tag, for the line ends tags have ("\n" or
  // "\r\n"). Both are copied as two bytes: the second of "\n" is the
  // string's closing nul, which a later byte writes over.
  const std::string& line_end = layout.line_end;
  if (line_end.empty() || line_end.size() > 2) {
    AppendTag(out, layout, code, FormatCoordinate(value));
    return;
  }
  char text[4 + 2 + kCoordinateBytes + 2];
  size_t length = WriteCode(text, layout, code);
  std::memcpy(text + length, line_end.c_str(), 2);
  length += line_end.size();
  length += WriteCoordinate(text + length, value);
  std::memcpy(text + length, line_end.c_str(), 2);
  out.append(text, length + line_end.size());
}

}  // namespace dxf
