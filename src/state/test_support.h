#ifndef RRENSEN_STATE_TEST_SUPPORT_H_
#define RRENSEN_STATE_TEST_SUPPORT_H_

#include <string>

#include "platform/out_stream.h"
#include "state/drawing_state.h"

/// A drawing state whose output and console streams write to memory, for
/// tests that drive one unit in process. `output` gets the bytes the scratch
/// file would get (CR LF), `console` and `errors` the console's.
struct MemoryState {
  MemoryState() {
    s.fpw = &fpw;
    s.out = &out;
    s.err = &err;
    s.PAI = 3.141592653589793;
  }
  DrawingState s;
  std::string output, console, errors;
  platform::OutStream fpw{&output, true};
  platform::OutStream out{&console, false};
  platform::OutStream err{&errors, false};
};

#endif  // RRENSEN_STATE_TEST_SUPPORT_H_
