#ifndef RRENSEN_DRIVER_RUN_H_
#define RRENSEN_DRIVER_RUN_H_

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/out_stream.h"

namespace driver {

/// Makes one whole run of the tool in the folder of `files`: the option
/// words `words` (the command line after the program's name), the
/// exchange-file round trip, the reader, the filleting, the messages and
/// the restore block. `console` and `errors` are standard output and
/// standard error. Returns the exit status: 0 after a completed run (a
/// refused outline included), 1 for the driver's own refusals and write
/// failures, -1 for those of the copies. A word "--help" or "--version"
/// prints the usage text or the version instead, touches no file and
/// returns 0.
int RunTool(const std::vector<std::string>& words, platform::FileSystem& files,
            platform::OutStream& console, platform::OutStream& errors);

}  // namespace driver

#endif  // RRENSEN_DRIVER_RUN_H_
