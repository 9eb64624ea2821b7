// rrensen-dxf: fillets the corners of the polylines of ASCII DXF files.
// Reads the command line and hands the disk to RunCommandLine.

#include <iostream>
#include <string>
#include <vector>

#include "dxf/command_line.h"
#include "dxf/disk_files.h"
#include "dxf/run.h"

namespace {

/// Says each line on standard error, as it comes.
class StandardError : public dxf::Messages {
 public:
  void Say(std::string_view line) override {
    std::cerr << "rrensen-dxf: " << line << "\n";
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  const dxf::CommandLine line = dxf::ParseCommandLine(words);
  if (line.help) {
    std::cout << dxf::kUsage;
    return 0;
  }
  if (line.version) {
    std::cout << "rrensen-dxf " << RRENSEN_VERSION << "\n";
    return 0;
  }
  StandardError errors;
  if (!line.error.empty()) {
    errors.Say(dxf::UsageError(line.error));
    return dxf::kFailed;
  }
  dxf::DiskFiles files;
  std::unique_ptr<dxf::OutputFile> standard_output = dxf::StandardOutput();
  return dxf::RunCommandLine(line, files, *standard_output, errors);
}
