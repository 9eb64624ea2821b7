// Kills the tool with SIGKILL at instants spread over a whole run, and
// checks that the host's data is never left half-written: the exchange file
// holds the complete input or the complete output at every instant, and a
// run interrupted before handing its output back can simply be run again.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

const std::set<std::string> kProtocolNames = {
    "kdx_temp.txt", "KDX_x2x2.$$", "KDX_x2x2.$$$", "KDX_TEMP.TXT",
    "KDX_TEMP.$$$"};

/// A folder of its own for each run, removed afterwards.
class Folder {
 public:
  Folder() {
    std::string templ =
        (fs::temp_directory_path() / "rrensen-kill-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = templ;
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  Files Contents() const {
    Files files;
    for (const auto& entry : fs::directory_iterator(path_)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files[entry.path().filename().string()] = bytes.str();
    }
    return files;
  }
  /// Starts the tool in this folder; returns its process id.
  pid_t Start(const std::string& command) const {
    pid_t pid = fork();
    if (pid == 0) {
      if (chdir(path_.c_str()) != 0) _exit(126);
      execl(command.c_str(), command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return pid;
  }
  /// Runs the tool to its end; returns its exit status.
  int Run(const std::string& command) const {
    pid_t pid = Start(command);
    int raw = 0;
    waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

 private:
  fs::path path_;
};

/// The tool's path, or "" when the suite runs it through another command
/// (such as Wine), which a kill would not reach.
std::string ToolPath() {
  const char* command = std::getenv("RRENSEN_COMMAND");
  if (command == nullptr || std::string(command).find(' ') != std::string::npos) {
    return "";
  }
  return command;
}

std::string LargestExchange() {
  std::string s = "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n";
  const char* cycle[] = {"# a comment that the tool passes through\r\n",
                         " 0 0 10 0\r\n", "lc5\r\n", "ci 1 2 3\r\n"};
  for (int k = 5; k < 50000; ++k) s += cycle[k % 4];
  return s;
}

/// Kills runs on `input` at `instants` instants spread from the start to a
/// little past the end of an uninterrupted run, and checks every folder.
void KillAtSpreadInstants(const std::string& tool, const std::string& input,
                          int instants) {
  Folder whole;
  whole.Put("kdx_temp.txt", input);
  auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(whole.Run(tool), 0);
  auto length = std::chrono::steady_clock::now() - begin;
  const std::string output = whole.Contents().at("KDX_TEMP.TXT");
  ASSERT_NE(output, input);

  int interrupted = 0;
  for (int i = 0; i < instants; ++i) {
    SCOPED_TRACE("instant " + std::to_string(i));
    Folder folder;
    folder.Put("kdx_temp.txt", input);
    pid_t pid = folder.Start(tool);
    std::this_thread::sleep_for(length * 1.2 * i / instants);
    kill(pid, SIGKILL);
    int raw = 0;
    waitpid(pid, &raw, 0);
    interrupted += WIFSIGNALED(raw) ? 1 : 0;

    // The complete input or the complete output is there under one of the
    // protocol's names, and the exchange file is never a part of either.
    Files left = folder.Contents();
    bool whole_data = false;
    for (const auto& [name, bytes] : left) {
      EXPECT_EQ(kProtocolNames.count(name), 1u) << name;
      whole_data |= bytes == input || bytes == output;
    }
    EXPECT_TRUE(whole_data);
    if (left.count("KDX_TEMP.TXT")) {
      const std::string& exchange = left["KDX_TEMP.TXT"];
      EXPECT_TRUE(exchange == input || exchange == output)
          << exchange.size() << " bytes";
    }
    // Killed before handing the output back: running again finishes the
    // job.
    bool input_waits = (left.count("KDX_TEMP.TXT") && left["KDX_TEMP.TXT"] == input) ||
                       (left.count("kdx_temp.txt") && left["kdx_temp.txt"] == input);
    if (input_waits) {
      EXPECT_EQ(folder.Run(tool), 0);
      Files again = folder.Contents();
      EXPECT_EQ(again.size(), 1u);
      EXPECT_EQ(again["KDX_TEMP.TXT"], output);
    }
  }
  // The instants reached into the runs (timing decides only how many).
  EXPECT_GT(interrupted, 0);
}

TEST(Kill, LargestFileKilledAtTwoHundredInstants) {
  std::string tool = ToolPath();
  if (tool.empty()) GTEST_SKIP() << "the tool runs through another command";
  KillAtSpreadInstants(tool, LargestExchange(), 200);
}

TEST(Kill, FivePointFileKilledAtFiftyInstants) {
  std::string tool = ToolPath();
  if (tool.empty()) GTEST_SKIP() << "the tool runs through another command";
  KillAtSpreadInstants(
      tool, "lc5\r\nhp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n",
      50);
}

}  // namespace
