#ifndef RRENSEN_DXF_JSON_WRITER_H_
#define RRENSEN_DXF_JSON_WRITER_H_

/// The one writer of JSON text: rrensen-dxf's report and what the page's
/// module hands to JavaScript. The text is pure ASCII: strings are read as
/// UTF-8, every character outside ASCII is written as a \u escape (a
/// surrogate pair above U+FFFF), and every byte that is not part of
/// well-formed UTF-8 (old DXF files are often in a code page) becomes
/// U+FFFD, the replacement character, one for each byte. Numbers have the
/// fewest digits that read back as the same double, in fixed notation
/// ("10.0", "0.00000015"); a value that is not finite is null.

#include <optional>
#include <string>
#include <string_view>

namespace dxf {

/// Appends JSON to a string. Commas between members and elements are
/// written by the writer; the caller opens and closes in order.
class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  /// The name of the next member of an object.
  void Key(std::string_view name);
  void String(std::string_view text);
  void Number(double value);
  /// A number, or null when there is none.
  void Number(const std::optional<double>& value);
  void Integer(long long value);
  void Bool(bool value);
  void Null();

  const std::string& text() const { return text_; }
  std::string Take() { return std::move(text_); }

 private:
  void Open(char bracket);
  void Close(char bracket);
  /// Writes the comma that separates this value from the one before.
  void Separate();

  std::string text_;
  /// Whether the current object or array has a member or element yet.
  bool first_ = true;
  /// True right after Key(): the value follows without a comma.
  bool after_key_ = false;
};

}  // namespace dxf

#endif  // RRENSEN_DXF_JSON_WRITER_H_
