// Writes benchmark exchange files (CR LF):
//   make_exchange large FILE  - 50000 lines of mixed records with 19 points,
//                               the longest file the tool takes;
//   make_exchange typical FILE - about 30 lines, as a host writes for one use.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Points(std::FILE* f) {
  // 19 points on a wavy ring that closes onto point 1.
  for (int k = 1; k <= 19; ++k) {
    double a = 2 * 3.141592653589793 * (k - 1) / 18;
    double r = 200 + 30 * std::cos(3 * a);
    std::fprintf(f, "hp%d- %.6f %.6f\r\n", k, r * std::cos(a), r * std::sin(a));
  }
}

void Attributes(std::FILE* f) {
  std::fputs("lg0\r\nly1f\r\nlt1\r\nlc5\r\npn3\r\ncn0 2.5 3 0.5 1\r\ncc2\r\n",
             f);
}

/// One of a cycle of ordinary records that the reader parses or passes.
void Filler(std::FILE* f, int k) {
  switch (k % 10) {
    case 0: std::fprintf(f, "# layer note %d of the drawing\r\n", k); break;
    case 1:
      std::fprintf(f, " %d.5 %d.25 %d.75 %d.125\r\n", k, k + 1, k + 2, k + 3);
      break;
    case 2:
      std::fprintf(f, "ci %d.0 %d.0 12.5 0.0 90.0 1.0 45.0\r\n", k, k);
      break;
    case 3: std::fprintf(f, "ch %d.0 %d.0 3 0 \"label%d\r\n", k, k, k); break;
    case 4: std::fprintf(f, "lc%d\r\n", k % 9); break;
    case 5: std::fprintf(f, "ly%x\r\n", k % 256); break;
    case 6: std::fputs("hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n", f); break;
    case 7: std::fprintf(f, "bz %d\r\n", k); break;
    case 8: std::fprintf(f, "pt %d.5 %d.5\r\n", k, k); break;
    default: std::fputs("hq\r\n", f); break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "large") != 0 &&
                    std::strcmp(argv[1], "typical") != 0)) {
    std::fprintf(stderr, "usage: make_exchange large|typical FILE\n");
    return 2;
  }
  std::FILE* f = std::fopen(argv[2], "wb");
  if (f == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  bool large = std::strcmp(argv[1], "large") == 0;
  int total = large ? 50000 : 30;
  Attributes(f);  // 7 lines
  Points(f);      // 19 lines
  for (int k = 7 + 19; k < total; ++k) Filler(f, k);
  return std::fclose(f) == 0 ? 0 : 1;
}
