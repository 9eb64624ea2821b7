#ifndef RRENSEN_DXF_COMMAND_LINE_H_
#define RRENSEN_DXF_COMMAND_LINE_H_

/// The options of rrensen-dxf: those of the filleting (Settings, read as
/// settings.h says) and those of the program, each a row of a table in
/// command_line.cc.

#include <optional>
#include <string>
#include <vector>

#include "dxf/settings.h"

namespace dxf {

/// What the command line asks for.
struct CommandLine {
  bool help = false;
  bool version = false;
  /// The drawings, or folders of drawings, in the order given.
  std::vector<std::string> inputs;
  /// Empty: standard output. For a batch (several inputs, or a folder),
  /// the folder the outputs go to.
  std::string output;
  /// -j: how many drawings of a batch are filleted at once; 0 for as many
  /// as the machine has cores.
  int jobs = 0;
  /// --report: where the JSON report goes; empty for none.
  std::string report;
  bool dry_run = false;
  /// -c, --style, --close-gap, --join, --join-gap, --layer.
  Settings settings;
  /// Empty when the words make sense; else what is wrong with them.
  std::string error;
};

/// The most drawings -j lets a batch fillet at once.
constexpr int kMostJobs = 256;

/// The usage text printed by --help.
extern const char kUsage[];

/// Reads the words after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& words);

}  // namespace dxf

#endif  // RRENSEN_DXF_COMMAND_LINE_H_
