#ifndef RRENSEN_READER_KD_PATTERN_H_
#define RRENSEN_READER_KD_PATTERN_H_

#include <functional>
#include <string_view>

#include "state/drawing_state.h"

/// Called with each line that the reader takes as a record, after the record
/// has changed the state; lets a caller see every record, where the state
/// keeps only the last of each kind.
using RecordHook = std::function<void(const DrawingState&, std::string_view)>;

/// Reads the exchange file `s.fp` line by line into the drawing state, at
/// most `jd_limit` lines, and passes comment lines ("#") and "bz" lines
/// through to `s.fpw` unchanged. `jd_xmax` (the driver's line count) shows
/// only in the level-3 debug lines. Always returns 0; a read error leaves
/// `s.fp->error()` set for the driver to see.
int KD_PATTERN(DrawingState& s, unsigned int jd_xmax, unsigned int jd_limit,
               const RecordHook& hook = nullptr);

#endif  // RRENSEN_READER_KD_PATTERN_H_
