#ifndef RRENSEN_READER_KD_PATTERN_H_
#define RRENSEN_READER_KD_PATTERN_H_

#include <string_view>

#include "state/drawing_state.h"

/// Reads the exchange file `s.fp` line by line into the drawing state, at
/// most `jd_limit` lines, and passes comment lines ("#") and "bz" lines
/// through to `s.fpw` unchanged. `jd_xmax` (the driver's line count) shows
/// only in the level-3 debug lines. Always returns 0; a read error leaves
/// `s.fp->error()` set for the driver to see.
int KD_PATTERN(DrawingState& s, unsigned int jd_xmax, unsigned int jd_limit);

/// Handles one line (one piece of at most 254 characters) by its record key.
/// Positions past the end of `line` hold nothing. KD_PATTERN calls it for
/// every line it does not pass through; the preview reuses it.
void KdRecord(DrawingState& s, std::string_view line);

#endif  // RRENSEN_READER_KD_PATTERN_H_
