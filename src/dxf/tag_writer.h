#ifndef RRENSEN_DXF_TAG_WRITER_H_
#define RRENSEN_DXF_TAG_WRITER_H_

/// Writing DXF tags: a group code line and a value line, laid out as the
/// file around them is.

#include <string>
#include <string_view>

namespace dxf {

/// How a file lays out its tags.
struct TagLayout {
  /// True when group codes are right-aligned in three columns ("  0"), as
  /// most writers do.
  bool padded_codes = true;
  /// The end of every line: "\n" or "\r\n".
  std::string line_end = "\n";
};

/// Appends the tag `code` / `value` to `out`.
void AppendTag(std::string& out, const TagLayout& layout, int code,
               std::string_view value);

/// Appends the tag `code` / FormatCoordinate(value) to `out`.
void AppendCoordinateTag(std::string& out, const TagLayout& layout, int code,
                         double value);

}  // namespace dxf

#endif  // RRENSEN_DXF_TAG_WRITER_H_
