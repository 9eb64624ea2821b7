#ifndef RRENSEN_DRIVER_LINE_COPY_H_
#define RRENSEN_DRIVER_LINE_COPY_H_

#include <cstdint>

#include "platform/host_folder.h"
#include "platform/out_stream.h"

namespace driver {

/// Writes "<what><name> \n" to `errors`: the driver's messages about a
/// file, such as "Cannot open file: KDX_TEMP.TXT ".
void FileMessage(platform::OutStream& errors, const char* what,
                 const char* name);

/// Outcome of a line copy.
struct LineCopy {
  uint32_t count = 0;  ///< pieces copied
  int status = 0;      ///< 0, or the exit status the run must end with (-1)
};

/// Copies the text file `from` to `to` in `folder` piece by piece, as
/// fgets with a 255-byte buffer reads them, and returns how many pieces it
/// copied. With `limit` it stops after that many pieces and does not check
/// its writes (the counting copy: only the count is used); without (0), it
/// copies everything and a write that fails is a failure (the copy back). A
/// file that cannot be opened writes "Cannot open file: <name> \n" to
/// `errors` and yields status -1; so does a read error, with "Cannot read
/// file: <name> \n", and, when writes are checked, a write error with
/// "Cannot write file: <name> \n".
LineCopy CopyLines(platform::HostFolder& folder, const char* from,
                   const char* to, uint32_t limit, platform::OutStream& errors);

}  // namespace driver

#endif  // RRENSEN_DRIVER_LINE_COPY_H_
