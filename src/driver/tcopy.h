#ifndef RRENSEN_DRIVER_TCOPY_H_
#define RRENSEN_DRIVER_TCOPY_H_

#include <cstdint>
#include <string>

#include "state/drawing_state.h"

/// Writes "<what><name> \n" to s.err: the driver's messages about a file,
/// such as "Cannot open file: KDX_TEMP.TXT ".
void FileMessage(DrawingState& s, const char* what, const char* name);

/// Outcome of a line copy.
struct TcopyResult {
  uint32_t count = 0;  ///< pieces copied
  int status = 0;      ///< 0, or the exit status the run must end with (-1)
};

/// The most pieces the counting copy reads: one more than the longest
/// exchange file the tool takes, which is how an over-long file shows.
constexpr uint32_t kCountLimit = 50001;

/// Copies the text file `from` to `to` (both in `dir`) piece by piece, as
/// fgets with a 255-byte buffer reads them, and returns how many pieces it
/// copied. With `limit` it stops after that many pieces and does not check
/// its writes (the counting copy); without (0), it copies everything and a
/// write that fails is a failure (the copy back). A file that cannot be
/// opened writes "Cannot open file: <name> \n" to s.err and yields status -1;
/// so does a read error, with "Cannot read file: <name> \n", and, when
/// writes are checked, a write error with "Cannot write file: <name> \n".
TcopyResult Tcopy(DrawingState& s, const std::string& dir, const char* from,
                  const char* to, uint32_t limit);

#endif  // RRENSEN_DRIVER_TCOPY_H_
