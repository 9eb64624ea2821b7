// Times whole runs of the tool against the I/O floor, alternating them.
//
//   time_runs TOOL BASELINE EXCHANGE_FILE RUNS [OTHER_TOOL]
//
// Each run gets a fresh copy of EXCHANGE_FILE as kdx_temp.txt in a scratch
// folder (the copy is not timed). Prints the median wall times, their ratio
// and the peak resident memory of each program. OTHER_TOOL, when given (for
// instance the tool before a change), is timed in the same series.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Sample {
  double ms;
  long peak_kib;
};

Sample RunOnce(const std::vector<std::string>& argv, const fs::path& dir) {
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  fs::path here = fs::current_path();
  fs::current_path(dir);
  auto start = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) !=
      0) {
    std::perror("posix_spawn");
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  auto stop = std::chrono::steady_clock::now();
  fs::current_path(here);
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", argv[0].c_str());
    std::exit(1);
  }
  return {std::chrono::duration<double, std::milli>(stop - start).count(),
          usage.ru_maxrss};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Clear(const fs::path& dir) {
  for (const auto& e : fs::directory_iterator(dir)) fs::remove(e.path());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr,
                 "usage: time_runs TOOL BASELINE EXCHANGE_FILE RUNS "
                 "[OTHER_TOOL]\n");
    return 2;
  }
  std::string tool = fs::absolute(argv[1]).string();
  std::string baseline = fs::absolute(argv[2]).string();
  fs::path exchange = fs::absolute(argv[3]);
  int runs = std::atoi(argv[4]);
  fs::path dir =
      fs::temp_directory_path() / ("rrensen-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);

  // One run first, for the size of the output the baseline is to write.
  fs::copy_file(exchange, dir / "kdx_temp.txt");
  RunOnce({tool}, dir);
  std::string out_bytes = std::to_string(fs::file_size(dir / "KDX_TEMP.TXT"));
  Clear(dir);

  // The tool, the line floor, the block floor and the other tool, in turn.
  std::vector<std::vector<std::string>> commands = {
      {tool}, {baseline, "lines", out_bytes}, {baseline, "blocks", out_bytes}};
  if (argc == 6) commands.push_back({fs::absolute(argv[5]).string()});
  const size_t n = commands.size();
  std::vector<std::vector<double>> ms(n);
  std::vector<long> peak(n);
  for (int k = 0; k < runs; ++k) {
    for (size_t which = 0; which < n; ++which) {
      fs::copy_file(exchange, dir / "kdx_temp.txt");
      Sample s = RunOnce(commands[which], dir);
      ms[which].push_back(s.ms);
      peak[which] = std::max(peak[which], s.peak_kib);
      Clear(dir);
    }
  }
  fs::remove_all(dir);
  double t = Median(ms[0]), l = Median(ms[1]), b = Median(ms[2]);
  std::printf("%s: %ju B in, %s B out\n", exchange.filename().c_str(),
              static_cast<uintmax_t>(fs::file_size(exchange)),
              out_bytes.c_str());
  std::printf("  rrensen          %7.3f ms  peak %5ld KiB\n", t, peak[0]);
  std::printf(
      "  line floor       %7.3f ms  peak %5ld KiB  rrensen/floor %5.2f\n", l,
      peak[1], t / l);
  std::printf(
      "  block floor      %7.3f ms  peak %5ld KiB  rrensen/floor %5.2f\n", b,
      peak[2], t / b);
  if (n == 4) {
    double o = Median(ms[3]);
    std::printf(
        "  other tool       %7.3f ms  peak %5ld KiB  rrensen/other %5.2f\n", o,
        peak[3], t / o);
  }
  return 0;
}
