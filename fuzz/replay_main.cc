// Replays every file of the given folders or files through the fuzz
// target's check, so that the corpus is tested with any compiler, and counts
// the files that break it.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

/// The check of one input, from the fuzz target this program is linked
/// with: "" when it holds, else what is wrong.
std::string CheckFuzzInput(std::string_view input);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int k = 1; k < argc; ++k) {
    if (fs::is_directory(argv[k])) {
      for (const auto& e : fs::directory_iterator(argv[k])) {
        files.push_back(e.path());
      }
    } else {
      files.emplace_back(argv[k]);
    }
  }
  int passed = 0, failed = 0;
  for (const fs::path& p : files) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string problem = in ? CheckFuzzInput(bytes.str()) : "cannot read";
    if (problem.empty()) {
      ++passed;
    } else {
      ++failed;
      std::printf("FAILED %s: %s\n", p.string().c_str(), problem.c_str());
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
