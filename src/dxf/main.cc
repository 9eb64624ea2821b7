// rrensen-dxf: fillets the corners of the polylines of an ASCII DXF file.

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
#include "dxf/fillet_dxf.h"
#include "dxf/join.h"

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
  if (!line.error.empty()) {
    return Fail(line.error + "\nTry 'rrensen-dxf --help'.");
  }
  std::string bytes;
  std::string problem;
  if (!ReadFile(line.input, bytes, problem)) return Fail(problem);

  dxf::FilletSettings settings;
  settings.size = line.size;
  settings.style = line.style;
  settings.layer = line.layer;
  settings.close_gap = line.close_gap;
  if (line.join) {
    settings.join_gap = line.join_gap.value_or(dxf::kDefaultJoinGap);
  }
  dxf::FilletRun run = dxf::FilletDrawing(bytes, settings);
  if (!run.error.empty()) {
    std::string where = line.input;
    if (run.error_line > 0) where += ":" + std::to_string(run.error_line);
    return Fail(where + ": not a readable ASCII DXF file: " + run.error);
  }
  for (const std::string& report : run.reports) {
    std::cerr << "rrensen-dxf: " << report << "\n";
  }
  std::cerr << "rrensen-dxf: " << run.filleted
            << (line.dry_run ? " polylines to fillet, " : " polylines filleted, ")
            << run.partly << " partly, " << run.left_unchanged
            << " left unchanged\n";
  if (settings.join_gap) {
    std::cerr << "rrensen-dxf: "
              << run.chains_filleted + run.chains_partly + run.chains_left
              << " chains of lines and arcs: " << run.chains_filleted
              << (line.dry_run ? " to fillet, " : " filleted, ")
              << run.chains_partly << " partly, " << run.chains_left
              << " left unchanged; " << run.joined_polylines
              << (line.dry_run ? " polylines to make of "
                               : " polylines made of ")
              << run.joined_lines << " lines and " << run.joined_arcs
              << " arcs\n";
  }
  // The drawing first: a report never describes a drawing that is not
  // there.
  if (!line.dry_run && !WriteOutput(line.output, run.output)) {
    return Fail("cannot write '" +
                (line.output.empty() ? std::string("standard output")
                                     : line.output) +
                "'");
  }
  if (!line.report.empty()) {
    std::string text;
    for (const dxf::OutlineReport& outline : run.outlines) {
      text += dxf::ReportLine(outline);
      text += "\n";
    }
    if (!WriteOutput(line.report, text)) {
      return Fail("cannot write the report '" + line.report + "'");
    }
  }
  const int left =
      run.partly + run.left_unchanged + run.chains_partly + run.chains_left;
  return left == 0 ? 0 : 1;
}
