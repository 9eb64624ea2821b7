// rrensen-dxf: fillets the corners of the polylines of ASCII DXF files.
// Reads the command line and hands the disk to RunCommandLine, or for a
// batch to RunBatch with a progress line on a terminal and Ctrl-C caught.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <pthread.h>
#include <unistd.h>
#endif

#include "dxf/batch.h"
#include "dxf/command_line.h"
#include "dxf/disk_files.h"
#include "dxf/run.h"
#include "dxf/thread_workers.h"

namespace {

/// Says each line on standard error. The lines are held and written
/// 64 KiB at a time, and at the end: a drawing with thousands of polylines
/// left unchanged would otherwise cost a write to the terminal or the pipe
/// per line (standard error has no buffer of its own).
class StandardError : public dxf::Messages {
 public:
  StandardError() = default;
  StandardError(const StandardError&) = delete;
  StandardError& operator=(const StandardError&) = delete;
  ~StandardError() override { Flush(); }

  void Say(std::string_view line) override {
    held_ += "rrensen-dxf: ";
    held_ += line;
    held_ += '\n';
    if (held_.size() >= kHeldBytes) Flush();
  }

  void Flush() {
    if (held_.empty()) return;
    // A message that cannot be shown is no fault of the run.
    static_cast<void>(std::fwrite(held_.data(), 1, held_.size(), stderr));
    static_cast<void>(std::fflush(stderr));
    held_.clear();
  }

 private:
  static constexpr size_t kHeldBytes = size_t{64} << 10;
  std::string held_;
};

/// The progress line on standard error, redrawn over itself.
class TerminalLine : public dxf::ProgressView {
 public:
  /// `errors`: the messages said before, which go first.
  explicit TerminalLine(StandardError& errors) : errors_(errors) {}
  void Show(const std::string& text) override {
    errors_.Flush();
    std::string line = "\rrrensen-dxf: " + text;
    // Blanks over what a longer line before left.
    const size_t length = line.size();
    if (length < drawn_) line.append(drawn_ - length, ' ');
    drawn_ = length;
    // A progress line that cannot be shown is no fault of the run.
    static_cast<void>(std::fputs(line.c_str(), stderr));
    static_cast<void>(std::fflush(stderr));
  }
  void End() override { static_cast<void>(std::fputs("\n", stderr)); }

 private:
  StandardError& errors_;
  size_t drawn_ = 0;
};

/// -j's number, or by default the number of cores.
int Jobs(const dxf::CommandLine& line) {
  return line.jobs > 0 ? line.jobs
                       : static_cast<int>(
                             std::max(1u, std::thread::hardware_concurrency()));
}

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

#ifdef _WIN32
/// The name of the event that stops this process's batch. A console
/// control handler is called with no context, so it finds the event by a
/// name of its process rather than through a variable of the program.
std::wstring StopEventName() {
  return L"rrensen-dxf-stop-" + std::to_wstring(GetCurrentProcessId());
}

/// Ctrl-C and Ctrl-Break set the stop event; false (the system's default:
/// the program ends) when there is none.
BOOL WINAPI OnConsoleControl(DWORD control) {
  if (control != CTRL_C_EVENT && control != CTRL_BREAK_EVENT) return FALSE;
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, StopEventName().c_str());
  if (event == nullptr) return FALSE;
  SetEvent(event);
  CloseHandle(event);
  return TRUE;
}
#endif

/// Runs a batch. Ctrl-C is taken by a thread of its own, which sets the
/// batch's stop: on POSIX systems it waits for SIGINT with sigwait, on
/// Windows for the event the console control handler sets.
int RunBatchFromTerminal(const dxf::CommandLine& line, dxf::Files& files,
                         StandardError& messages) {
  dxf::BatchEnvironment environment;
  environment.jobs = Jobs(line);
  TerminalLine terminal(messages);
  if (StandardErrorIsTerminal()) environment.progress = &terminal;
  std::atomic<bool> stop{false};
  environment.stop = &stop;
#ifdef _WIN32
  HANDLE interrupt = CreateEventW(nullptr, TRUE, FALSE, StopEventName().c_str());
  HANDLE over = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (interrupt == nullptr || over == nullptr ||
      !SetConsoleCtrlHandler(OnConsoleControl, TRUE)) {
    if (interrupt != nullptr) CloseHandle(interrupt);
    if (over != nullptr) CloseHandle(over);
    return dxf::RunBatch(line, files, messages, environment);
  }
  std::thread catcher([&] {
    const HANDLE either[] = {interrupt, over};
    if (WaitForMultipleObjects(2, either, FALSE, INFINITE) == WAIT_OBJECT_0) {
      stop.store(true);
    }
  });
  const int status = dxf::RunBatch(line, files, messages, environment);
  SetEvent(over);
  catcher.join();
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  CloseHandle(interrupt);
  CloseHandle(over);
  return status;
#else
  // Blocked in every thread, SIGINT waits for sigwait below.
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
  std::atomic<bool> batch_over{false};
  std::thread catcher([&] {
    int signal_number = 0;
    sigwait(&interrupt, &signal_number);
    if (!batch_over.load()) stop.store(true);
  });
  const int status = dxf::RunBatch(line, files, messages, environment);
  batch_over.store(true);
  pthread_kill(catcher.native_handle(), SIGINT);
  catcher.join();
  return status;
#endif
}

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
  if (dxf::IsBatch(line, files)) {
    return RunBatchFromTerminal(line, files, errors);
  }
  std::unique_ptr<dxf::OutputFile> standard_output = dxf::StandardOutput();
  // One drawing: its polylines on every core (or -j's number of them).
  const int jobs = Jobs(line);
  std::optional<dxf::ThreadWorkers> workers;
  if (jobs > 1) workers.emplace(jobs - 1);
  return dxf::RunCommandLine(line, files, *standard_output, errors,
                             workers ? &*workers : nullptr);
}
