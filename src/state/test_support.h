#ifndef RRENSEN_STATE_TEST_SUPPORT_H_
#define RRENSEN_STATE_TEST_SUPPORT_H_

#include <string>

#include "state/drawing_state.h"
#include "state/memory_streams.h"

/// A drawing state whose output and console streams write to memory, for
/// tests that drive one unit in process.
struct MemoryState : MemoryStreams {
  MemoryState() {
    Attach(s);
    s.PAI = kDriverPAI;
  }
  DrawingState s;
};

#endif  // RRENSEN_STATE_TEST_SUPPORT_H_
