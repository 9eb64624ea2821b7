#ifndef RRENSEN_READER_ATTRIBUTES_H_
#define RRENSEN_READER_ATTRIBUTES_H_

#include <cstdint>

namespace reader {

/// The host's attributes as the exchange file carries them.
///
/// "Not captured yet": each captured attribute starts at 20 (the free text
/// style's width at -20.0) and takes the value of the first record of its
/// kind; the restore block writes the captured values back, so that the
/// host's attributes end as they began. The host's format uses the value 20
/// itself as the mark, with visible effects that the host relies on and the
/// tool keeps:
/// - a file without attribute records ends with "lg14", "ly14", "lt20",
///   "lc20" (the marks themselves; 20 is 14 in hexadecimal);
/// - a first record that carries 20 (such as "lc20") is not a capture: the
///   next record of its kind is captured instead;
/// - the free style's width starts below zero, so that a free style that was
///   never captured writes nothing.
constexpr int32_t kNotCaptured = 20;
constexpr double kFreeStyleWidthNotCaptured = -20.0;

/// True while `captured` still holds the mark.
inline bool NotCapturedYet(int32_t captured) {
  return captured == kNotCaptured;
}

/// A free text style: the sizes and colour of a "cn0" record.
struct FreeTextStyle {
  double width = 0.0;
  double height = 0.0;
  double depth = 0.0;  ///< the record's third size ("D" in the host's terms)
  int32_t colour = 0;
};

/// The value of the most recent record of each kind.
struct CurrentAttributes {
  int32_t line_colour = 1;  ///< "lc", decimal
  int32_t line_type = 1;    ///< "lt", decimal
  int32_t layer = 0;        ///< "ly", hexadecimal
  int32_t layer_group = 0;  ///< "lg", hexadecimal
  int32_t pn_value = 1;     ///< "pn", hexadecimal (the host's own attribute)
  /// Text style number of "cn<n>"; "cn0" sets 0 (the free style).
  int32_t text_style = 1;
  /// The free style of the last "cn0" record; a size that does not convert
  /// keeps the value before it.
  FreeTextStyle free_style;
};

/// The first value of each attribute, written back by the restore block.
struct CapturedAttributes {
  int32_t line_colour = kNotCaptured;
  int32_t line_type = kNotCaptured;
  int32_t layer = kNotCaptured;
  int32_t layer_group = kNotCaptured;
  int32_t pn_value = kNotCaptured;
  /// A numbered style, or 0 when a "cn0" record came first; then
  /// free_style holds its sizes.
  int32_t text_style = kNotCaptured;
  FreeTextStyle free_style{kFreeStyleWidthNotCaptured, 20.0, 20.0,
                           kNotCaptured};
};

struct Attributes {
  CurrentAttributes current;
  CapturedAttributes captured;
};

}  // namespace reader

#endif  // RRENSEN_READER_ATTRIBUTES_H_
