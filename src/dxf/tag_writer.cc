#include "dxf/tag_writer.h"

namespace dxf {

void AppendTag(std::string& out, const TagLayout& layout, int code,
               std::string_view value) {
  const std::string code_text = std::to_string(code);
  if (layout.padded_codes && code_text.size() < 3) {
    out.append(3 - code_text.size(), ' ');
  }
  out.append(code_text);
  out.append(layout.line_end);
  out.append(value);
  out.append(layout.line_end);
}

}  // namespace dxf
