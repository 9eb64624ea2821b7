#include "e2e_harness.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace e2e {
namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

fs::path FreshDir() {
  std::string templ = (fs::temp_directory_path() / "rrensen-e2e-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp");
  return templ;
}

}  // namespace

namespace {

Outcome RunOnce(const Files& files, const std::string& args,
                const std::string& setup) {
  const char* command = std::getenv("RRENSEN_COMMAND");
  if (command == nullptr) throw std::runtime_error("RRENSEN_COMMAND not set");
  fs::path root = FreshDir();
  fs::path dir = root / "work";
  fs::create_directory(dir);
  for (const auto& [name, bytes] : files) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string script = "cd '" + dir.string() + "' && ";
  if (!setup.empty()) script += setup + " && ";
  script += std::string(command) + " " + args + " >'" +
            (root / "stdout").string() + "' 2>'" + (root / "stderr").string() +
            "' </dev/null";
  int raw = std::system(script.c_str());
  Outcome o;
  o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1000;
  o.out = ReadAll(root / "stdout");
  o.err = ReadAll(root / "stderr");
  for (const auto& entry : fs::directory_iterator(dir)) {
    o.files[entry.path().filename().string()] =
        entry.is_symlink() ? "->" + fs::read_symlink(entry.path()).string()
                           : ReadAll(entry.path());
  }
  fs::remove_all(root);
  return o;
}

/// What Wine says when its client loses the wineserver under it: a fault
/// of the emulator, never of the tool, whose messages are its own.
constexpr const char* kEmulatorFault = "wine client error:";

}  // namespace

Outcome RunIn(const Files& files, const std::string& args,
              const std::string& setup) {
  // A run the emulator broke off is run again, in a fresh folder, a few
  // times: a loaded machine must not fail a suite the code did not.
  Outcome o = RunOnce(files, args, setup);
  for (int again = 0; again < 3 && o.err.find(kEmulatorFault) != std::string::npos;
       ++again) {
    o = RunOnce(files, args, setup);
  }
  return o;
}

std::string Crlf(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) {
    s += l;
    s += "\r\n";
  }
  return s;
}

std::string EmptyRestoreBlock() {
  return Crlf({"lg14", "ly14", "lt20", "lc20"});
}

}  // namespace e2e
