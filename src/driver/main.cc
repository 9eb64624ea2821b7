// rrensen: turns the points indicated in the host's exchange file into one
// polyline with cut, rounded corners, and writes it back for the host.

#include <cstdio>
#include <string>
#include <vector>

#include "driver/run.h"
#include "platform/disk_file_system.h"
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
  std::vector<std::string> words;
  for (int k = 1; k < argc && argv[k] != nullptr; ++k) words.emplace_back(argv[k]);
  platform::DiskFileSystem files;
  platform::OutStream console(stdout);
  platform::OutStream errors(stderr);
  int status = driver::RunTool(words, files, console, errors);
  console.Flush();
  errors.Flush();
  return status;
}
