#ifndef RRENSEN_WEB_JSON_WRITER_H_
#define RRENSEN_WEB_JSON_WRITER_H_

/// A small writer of JSON text, for what the page's module hands to
/// JavaScript: objects, arrays, strings, numbers, booleans and null.

#include <cstddef>
#include <string>
#include <string_view>

namespace web {

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
  /// A string. Bytes that are not UTF-8 become U+FFFD, so that any file's
  /// text (a DXF layer name in a legacy code page) makes valid JSON.
  void String(std::string_view text);
  /// A number with the fewest digits that read back as the same double;
  /// null for infinity and NaN, which JSON has no words for.
  void Number(double value);
  void Integer(long long value);
  void Bool(bool value);
  void Null();

  const std::string& text() const { return text_; }

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

}  // namespace web

#endif  // RRENSEN_WEB_JSON_WRITER_H_
