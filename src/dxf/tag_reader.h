#ifndef RRENSEN_DXF_TAG_READER_H_
#define RRENSEN_DXF_TAG_READER_H_

/// Splits the bytes of an ASCII DXF file into its tags: pairs of lines, a
/// group code and a value. Every tag remembers where its bytes lie in the
/// input, so that a writer can copy an untouched tag byte for byte, line ends
/// and trailing blanks included.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/tag_writer.h"

namespace dxf {

/// Longest line the reader accepts, in bytes without its line end. DXF
/// strings are far shorter; the bound keeps a file without line ends from
/// being taken as one huge value.
constexpr size_t kMaxLineBytes = 65536;

/// Largest group code that DXF defines (extended data goes up to 1071).
constexpr int kMaxGroupCode = 1071;

/// One group code and its value.
struct Tag {
  int code = 0;
  /// 1-based line number of the group code line.
  int line = 0;
  /// The value line without its line end and without trailing blanks
  /// (spaces and tabs); a view into the input.
  std::string_view value;
  /// Offsets into the input: where the group code line starts, where the
  /// value line starts, where the value line's text ends (trailing blanks
  /// included, line end excluded) and where the tag ends (after the value
  /// line's line end).
  size_t begin = 0;
  size_t value_begin = 0;
  size_t value_text_end = 0;
  size_t end = 0;
};

/// The tags of a file, or why it cannot be read.
struct TagList {
  std::vector<Tag> tags;
  /// Empty when the file was read; else what is wrong, for a person.
  std::string error;
  /// Line of the first bad line, or 0 when the fault has no line.
  int error_line = 0;
  /// The layout of the file's first tag, for new tags: its line end, and
  /// whether its group code is right-aligned in three columns.
  TagLayout layout;
};

/// Reads `bytes` as ASCII DXF. LF and CR LF line ends both work (and may be
/// mixed); a UTF-8 byte-order mark at the start is skipped; blanks around a
/// group code and after a value are ignored. Binary DXF is refused, as is a
/// group code that is not a whole number from 0 to kMaxGroupCode, a code
/// without its value line, and a line longer than kMaxLineBytes. Reading
/// stops after the "0 / EOF" tag: bytes after it are not tags.
TagList ReadTags(std::string_view bytes);
/// The same into `list`, whose memory is used again.
void ReadTags(std::string_view bytes, TagList& list);

/// `text` without blanks (spaces and tabs) at either end. Inline: the
/// readers call it for every tag.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace dxf

#endif  // RRENSEN_DXF_TAG_READER_H_
