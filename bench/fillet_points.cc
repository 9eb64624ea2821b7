// Times rrensen::Fillet on points from a file, for bench/python_bench.py,
// which times the Python module's call on the same points.
//
//   fillet_points POINTS_FILE SIZE CLOSING RUNS
//
// POINTS_FILE holds the points as pairs of doubles in this machine's byte
// order (x0 y0 x1 y1 ...). CLOSING is proximity, open or closed. Prints the
// median and the least wall time of RUNS calls in seconds, then the result
// and the number of segments of the last one:
// "median_s 0.0123 least_s 0.0119 result 0 segments 199999".
// One call before them is not timed: like the Python process that calls the
// module again and again, the timed calls find the heap grown (a first call
// also pays for the pages its memory is given, which here is most of it).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "rrensen/fillet.h"

namespace {

bool ReadPoints(const char* path, std::vector<rrensen::Point>& points) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  double pair[2];
  while (std::fread(pair, sizeof pair, 1, file) == 1) points.push_back({pair[0], pair[1]});
  const bool ok = std::ferror(file) == 0;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    (void)std::fputs("usage: fillet_points POINTS_FILE SIZE CLOSING RUNS\n", stderr);
    return 2;
  }
  std::vector<rrensen::Point> points;
  if (!ReadPoints(argv[1], points)) {
    (void)std::fprintf(stderr, "fillet_points: cannot read %s\n", argv[1]);
    return 1;
  }
  rrensen::FilletOptions options;
  options.size = std::strtod(argv[2], nullptr);
  if (std::strcmp(argv[3], "open") == 0) {
    options.closing = rrensen::Closing::kOpen;
  } else if (std::strcmp(argv[3], "closed") == 0) {
    options.closing = rrensen::Closing::kClosed;
  }
  const long runs = std::max(1L, std::strtol(argv[4], nullptr, 10));
  std::vector<double> seconds;
  rrensen::Outline outline = rrensen::Fillet(points, options);
  for (long run = 0; run < runs; ++run) {
    // The last outline goes first, as a Python caller's does when it drops
    // the result: two outlines at once would take twice the memory.
    outline = rrensen::Outline{};
    const auto start = std::chrono::steady_clock::now();
    outline = rrensen::Fillet(points, options);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    seconds.push_back(took.count());
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("median_s %.6g least_s %.6g result %d segments %zu\n",
              seconds[seconds.size() / 2], seconds.front(), static_cast<int>(outline.result),
              outline.segments.size());
  return 0;
}
