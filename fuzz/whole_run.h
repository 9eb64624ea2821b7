#ifndef RRENSEN_FUZZ_WHOLE_RUN_H_
#define RRENSEN_FUZZ_WHOLE_RUN_H_

#include <string>
#include <string_view>
#include <vector>

/// One whole run of the tool, the same entry that main() runs, over files in
/// memory: option words and exchange-file bytes in, the output bytes (as the
/// host or, at a debug level, the scratch file gets them) out.
struct WholeRun {
  std::vector<std::string> words;  ///< the command line, word by word
  int status = 0;
  bool wrote_output = false;  ///< the output file exists
  std::string output;
  std::string console;
  std::string errors;
};

/// Runs the tool with the blank-separated `words` as its command line in a
/// folder that holds `exchange` as "kdx_temp.txt".
WholeRun RunWholeInMemory(std::string_view words, std::string_view exchange);

/// One fuzz input: its first line holds the option words, the rest is the
/// exchange file. Runs it and checks what must hold for any input: a
/// completed run ends its output with the restore block and writes no
/// record with nan or inf. Returns "" when it holds, else what is wrong.
std::string CheckFuzzInput(std::string_view input);

#endif  // RRENSEN_FUZZ_WHOLE_RUN_H_
