#include "dxf/tag_writer.h"

#include "dxf/number_text.h"

namespace dxf {
namespace {

/// Appends the group code line of `code`.
void AppendCode(std::string& out, const TagLayout& layout, int code) {
  char digits[4];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + code % 10);
    code /= 10;
  } while (code > 0 && count < 4);
  if (layout.padded_codes && count < 3) out.append(3 - count, ' ');
  while (count > 0) out += digits[--count];
  out.append(layout.line_end);
}

}  // namespace

void AppendTag(std::string& out, const TagLayout& layout, int code,
               std::string_view value) {
  AppendCode(out, layout, code);
  out.append(value);
  out.append(layout.line_end);
}

void AppendCoordinateTag(std::string& out, const TagLayout& layout, int code,
                         double value) {
  AppendCode(out, layout, code);
  AppendCoordinate(out, value);
  out.append(layout.line_end);
}

}  // namespace dxf
