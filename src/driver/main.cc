// rrensen: turns the points indicated in the host's exchange file into one
// polyline with cut, rounded corners, and writes it back for the host.

#include <cstdio>

#include "driver/run.h"
#include "platform/out_stream.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // The console gets the same bytes as on every other platform.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  static DrawingState state;
  platform::OutStream out(stdout);
  platform::OutStream err(stderr);
  state.out = &out;
  state.err = &err;
  int status = RunTool(state, argc, argv, "");
  out.Flush();
  err.Flush();
  return status;
}
