#ifndef RRENSEN_DRIVER_PROCESS_H_
#define RRENSEN_DRIVER_PROCESS_H_

#include "state/drawing_state.h"

/// The most lines the reader takes: the longest exchange file the tool
/// accepts.
constexpr unsigned int kJdLimit = 50000;

/// The work of one run between opening and closing the files: reads s.fp
/// into the state, builds the outline, and writes to s.fpw the builder's
/// records, the result message, the level-1 trailer and the restore block.
/// `jd_xmax` is the line count, shown in debug lines. Returns false, having
/// written nothing after the reader's pass-through, when s.fp could not be
/// read to its end. Used by the tool and by whole runs in memory.
bool ProcessExchange(DrawingState& s, unsigned int jd_xmax);

#endif  // RRENSEN_DRIVER_PROCESS_H_
