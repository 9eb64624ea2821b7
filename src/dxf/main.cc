// rrensen-dxf: fillets the corners of the polylines of an ASCII DXF file.
// The run itself is dxf::RunOnBytes; this reads the file and writes what it
// makes.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "dxf/command_line.h"
#include "dxf/run_dxf.h"

namespace {

/// Largest input file read, in bytes: its tags take a few times as much
/// memory again.
constexpr std::streamoff kMaxFileBytes = std::streamoff{256} * 1024 * 1024;

int Fail(const std::string& message) {
  std::cerr << "rrensen-dxf: " << message << "\n";
  return 2;
}

bool ReadFile(const std::string& path, std::string& bytes,
              std::string& problem) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    problem = "cannot open '" + path + "'";
    return false;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size > kMaxFileBytes) {
    problem = "'" + path + "' is larger than 256 MiB";
    return false;
  }
  in.seekg(0, std::ios::beg);
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) {
    problem = "cannot read '" + path + "'";
    return false;
  }
  bytes = contents.str();
  return true;
}

bool WriteOutput(const std::string& path, const std::string& bytes) {
  if (path.empty()) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // keep the file's line ends
#endif
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) ==
               bytes.size() &&
           std::fflush(stdout) == 0;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  dxf::CommandLine line = dxf::ParseCommandLine(words);
  if (line.help) {
    std::cout << dxf::kUsage;
    return 0;
  }
  if (line.version) {
    std::cout << "rrensen-dxf " << RRENSEN_VERSION << "\n";
    return 0;
  }
  std::string bytes;
  std::string problem;
  if (line.error.empty() && !ReadFile(line.input, bytes, problem)) {
    return Fail(problem);
  }
  const dxf::RunResult run = dxf::RunOnBytes(bytes, line, line.input);
  std::cerr << run.standard_error;
  // The drawing first: a report never describes a drawing that is not
  // there.
  if (run.writes_drawing && !WriteOutput(line.output, run.drawing)) {
    return Fail("cannot write '" +
                (line.output.empty() ? std::string("standard output")
                                     : line.output) +
                "'");
  }
  if (run.writes_report && !WriteOutput(line.report, run.report)) {
    return Fail("cannot write the report '" + line.report + "'");
  }
  return run.status;
}
