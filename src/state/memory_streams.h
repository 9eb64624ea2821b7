#ifndef RRENSEN_STATE_MEMORY_STREAMS_H_
#define RRENSEN_STATE_MEMORY_STREAMS_H_

#include <string>

#include "platform/out_stream.h"
#include "state/drawing_state.h"

/// The output and console streams of a run held in memory, for runs that
/// touch no file (tests, fuzzing, the preview): `output` gets the bytes the
/// scratch file would get (CR LF), `console` and `errors` the console's.
struct MemoryStreams {
  std::string output, console, errors;
  platform::OutStream fpw{&output, true};
  platform::OutStream out{&console, false};
  platform::OutStream err{&errors, false};

  /// Points the state's output and console streams here.
  void Attach(DrawingState& s) {
    s.fpw = &fpw;
    s.out = &out;
    s.err = &err;
  }
  /// Hands everything written so far on to the strings.
  void Flush() {
    fpw.Flush();
    out.Flush();
    err.Flush();
  }
};

#endif  // RRENSEN_STATE_MEMORY_STREAMS_H_
