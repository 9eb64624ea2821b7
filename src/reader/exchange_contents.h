#ifndef RRENSEN_READER_EXCHANGE_CONTENTS_H_
#define RRENSEN_READER_EXCHANGE_CONTENTS_H_

#include <cstdint>
#include <vector>

#include "reader/attributes.h"
#include "rrensen/fillet.h"

namespace reader {

/// The highest point number the exchange file can carry ("hp19-").
constexpr int32_t kHighestPointNumber = 19;

/// The indicated points of the exchange file, by point number.
struct IndicatedPoints {
  /// Coordinates of the point numbered k at index k (0 to 19); a number no
  /// record set is still (0, 0) and is used with that value.
  double x[kHighestPointNumber + 1] = {};
  double y[kHighestPointNumber + 1] = {};
  /// The number of the most recent point record; a number that does not
  /// convert keeps the one before.
  int32_t last_number = 0;
  /// Point records read, stored or not.
  int32_t record_count = 0;

  /// Whether the records can be drawn: at most 19 of them, and the last
  /// number within 0 to 19.
  bool WithinLimits() const {
    return record_count <= kHighestPointNumber &&
           last_number <= kHighestPointNumber && last_number >= 0;
  }
  /// Points 1 to record_count, in order: the outline to fillet. Only
  /// meaningful WithinLimits().
  std::vector<rrensen::Point> Outline() const;
};

/// A line record's two end points.
struct LineRecord {
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};

/// Everything the reader takes from the exchange file that the rest of the
/// run uses.
struct ExchangeContents {
  Attributes attributes;
  IndicatedPoints points;
  /// The stage of the host's command that the file shows: 1 after "hq", 2
  /// after "hh?1", 3 after a line record whose end points differ; 0 when
  /// none came. Shown in debug lines only.
  int32_t stage = 0;
  /// The last line record; a value that does not convert keeps the one
  /// before, which decides whether the next record's end points differ.
  LineRecord last_line;
};

}  // namespace reader

#endif  // RRENSEN_READER_EXCHANGE_CONTENTS_H_
