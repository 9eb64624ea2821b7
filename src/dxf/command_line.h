#ifndef RRENSEN_DXF_COMMAND_LINE_H_
#define RRENSEN_DXF_COMMAND_LINE_H_

/// The options of rrensen-dxf. Each option is a row of a table in
/// command_line.cc: a flag names the field it sets, an option with a value
/// the function that reads it.

#include <optional>
#include <string>
#include <vector>

#include "rrensen/fillet.h"

namespace dxf {

/// What the command line asks for.
struct CommandLine {
  bool help = false;
  bool version = false;
  std::string input;
  std::string output;  ///< empty: standard output
  double size = 5.0;
  /// --style: how each corner is cut; the size is its chord, radius or
  /// distance.
  rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc;
  std::optional<std::string> layer;
  /// --close-gap: the largest distance between the ends of an open
  /// polyline that closes it; unset: open polylines stay open.
  std::optional<double> close_gap;
  /// --report: where the JSON report goes; empty for none.
  std::string report;
  bool dry_run = false;
  /// --join: chain LINE and ARC entities into polylines; --join-gap sets
  /// it too.
  bool join = false;
  /// --join-gap: the largest distance between two ends that meet; unset:
  /// the default, dxf::kDefaultJoinGap.
  std::optional<double> join_gap;
  /// Empty when the words make sense; else what is wrong with them.
  std::string error;
};

/// The usage text printed by --help.
extern const char kUsage[];

/// Reads the words after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& words);

}  // namespace dxf

#endif  // RRENSEN_DXF_COMMAND_LINE_H_
