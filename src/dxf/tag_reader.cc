#include "dxf/tag_reader.h"

namespace dxf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/// One physical line of the input.
struct Line {
  size_t begin = 0;
  size_t text_end = 0;  // before "\r\n" or "\n"
  size_t end = 0;       // after the line end
};

/// Reads lines one at a time, counting them.
class LineCursor {
 public:
  LineCursor(std::string_view bytes, size_t start)
      : bytes_(bytes), position_(start) {}

  bool AtEnd() const { return position_ >= bytes_.size(); }
  int number() const { return number_; }

  /// The next line; false at the end of the input or when the line is too
  /// long (`too_long` tells which).
  bool Next(Line& line, bool& too_long) {
    too_long = false;
    if (AtEnd()) return false;
    ++number_;
    size_t newline = bytes_.find('\n', position_);
    size_t stop = newline == std::string_view::npos ? bytes_.size() : newline;
    line.begin = position_;
    line.text_end = stop;
    if (stop > position_ && bytes_[stop - 1] == '\r') --line.text_end;
    line.end = newline == std::string_view::npos ? stop : stop + 1;
    position_ = line.end;
    if (line.text_end - line.begin > kMaxLineBytes) {
      too_long = true;
      return false;
    }
    return true;
  }

 private:
  std::string_view bytes_;
  size_t position_;
  int number_ = 0;
};

/// The group code written in `text`, or -1 when it is not a whole number
/// from 0 to kMaxGroupCode.
int ParseGroupCode(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 4) return -1;
  int code = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    code = code * 10 + (c - '0');
  }
  return code <= kMaxGroupCode ? code : -1;
}

TagList Fail(TagList list, std::string message, int line) {
  list.tags.clear();
  list.error = std::move(message);
  list.error_line = line;
  return list;
}

std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string shown;
  for (char c : text.substr(0, kShown)) {
    bool printable = c >= ' ' && c <= '~';
    shown += printable ? c : '?';
  }
  if (text.size() > kShown) shown += "...";
  return "'" + shown + "'";
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

TagList ReadTags(std::string_view bytes) {
  TagList list;
  size_t start = 0;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    start = kByteOrderMark.size();
  }
  if (bytes.substr(start, kBinarySentinel.size()) == kBinarySentinel) {
    return Fail(std::move(list),
                "this is a binary DXF file; only ASCII DXF can be read "
                "(save the drawing as ASCII DXF)",
                0);
  }
  LineCursor cursor(bytes, start);
  bool first = true;
  while (!cursor.AtEnd()) {
    Line code_line;
    Line value_line;
    bool too_long = false;
    if (!cursor.Next(code_line, too_long)) {
      return Fail(std::move(list),
                  "line longer than " + std::to_string(kMaxLineBytes) +
                      " bytes",
                  cursor.number());
    }
    std::string_view code_text =
        bytes.substr(code_line.begin, code_line.text_end - code_line.begin);
    // Blank lines after the last tag are harmless.
    if (TrimBlanks(code_text).empty() && !list.tags.empty() &&
        list.tags.back().code == 0 && list.tags.back().value == "EOF") {
      break;
    }
    int code = ParseGroupCode(code_text);
    if (code < 0) {
      return Fail(std::move(list),
                  "group code " + Quoted(code_text) +
                      " is not a whole number from 0 to " +
                      std::to_string(kMaxGroupCode),
                  cursor.number());
    }
    int code_line_number = cursor.number();
    if (!cursor.Next(value_line, too_long)) {
      if (too_long) {
        return Fail(std::move(list),
                    "line longer than " + std::to_string(kMaxLineBytes) +
                        " bytes",
                    cursor.number());
      }
      return Fail(std::move(list),
                  "group code " + std::to_string(code) + " has no value line",
                  code_line_number);
    }
    if (first) {
      first = false;
      bool crlf = code_line.end - code_line.text_end == 2;
      list.layout.line_end = crlf ? "\r\n" : "\n";
      list.layout.padded_codes = !code_text.empty() && IsBlank(code_text.front());
    }
    Tag tag;
    tag.code = code;
    tag.begin = code_line.begin;
    tag.value_begin = value_line.begin;
    tag.value_text_end = value_line.text_end;
    tag.end = value_line.end;
    tag.line = code_line_number;
    std::string_view value = bytes.substr(
        value_line.begin, value_line.text_end - value_line.begin);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    tag.value = value;
    list.tags.push_back(tag);
    if (code == 0 && value == "EOF") break;
  }
  return list;
}

}  // namespace dxf
