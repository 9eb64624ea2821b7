#ifndef RRENSEN_DRIVER_RUN_H_
#define RRENSEN_DRIVER_RUN_H_

#include <string>

#include "driver/process.h"
#include "state/drawing_state.h"

/// Makes one whole run of the tool in the directory `dir` ("" for the
/// working directory): the options of argv[1..argc-1], the exchange-file
/// round trip, the reader, the builder, the messages and the restore block.
/// s.out and s.err must point at the console streams. Returns the exit
/// status: 0 after a completed run (a refused outline included), 1 for the
/// driver's own refusals and write failures, -1 for those of the copies.
int RunTool(DrawingState& s, int argc, const char* const* argv,
            const std::string& dir);

#endif  // RRENSEN_DRIVER_RUN_H_
