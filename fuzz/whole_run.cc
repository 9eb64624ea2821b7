#include "whole_run.h"

#include <string>
#include <vector>

#include "driver/run.h"
#include "output_check.h"
#include "platform/memory_file_system.h"

WholeRun RunWholeInMemory(std::string_view words, std::string_view exchange) {
  WholeRun run;
  // The words of the command line, split at blanks as a shell would.
  std::string word;
  for (size_t k = 0; k <= words.size(); ++k) {
    if (k == words.size() || words[k] == ' ' || words[k] == '\0') {
      if (!word.empty()) run.words.push_back(word);
      word.clear();
    } else {
      word += words[k];
    }
  }
  platform::MemoryFileSystem files;
  files.Put("kdx_temp.txt", std::string(exchange));
  {
    platform::OutStream console(&run.console, false);
    platform::OutStream errors(&run.errors, false);
    run.status = driver::RunTool(run.words, files, console, errors);
  }
  // The output: handed back to the exchange file in normal use, left in the
  // scratch file at the debug levels and for an over-long file.
  const char* holder = run.status == 0 && files.Get("KDX_TEMP.$$$") == nullptr
                           ? "KDX_TEMP.TXT"
                           : "KDX_TEMP.$$$";
  if (const std::string* bytes = files.Get(holder)) {
    run.wrote_output = true;
    run.output = *bytes;
  }
  return run;
}

std::string CheckFuzzInput(std::string_view input) {
  size_t nl = input.find('\n');
  std::string_view words =
      nl == std::string_view::npos ? input : input.substr(0, nl);
  std::string_view exchange =
      nl == std::string_view::npos ? std::string_view() : input.substr(nl + 1);
  WholeRun run = RunWholeInMemory(words, exchange);
  // Only a refusal of an over-long file ends without the restore block.
  if (run.status != 0) return "";
  if (!run.wrote_output) {
    // --help and --version touch no file; any other completed run writes.
    for (const std::string& w : run.words) {
      if (w == "--help" || w == "--version") return "";
    }
    return "a completed run left no output";
  }
  return check::CompletedOutput(run.output);
}
