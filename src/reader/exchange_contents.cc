#include "reader/exchange_contents.h"

namespace reader {

std::vector<rrensen::Point> IndicatedPoints::Outline() const {
  std::vector<rrensen::Point> outline;
  for (int32_t k = 1; k <= record_count && k <= kHighestPointNumber; ++k) {
    outline.push_back({x[k], y[k]});
  }
  return outline;
}

}  // namespace reader
