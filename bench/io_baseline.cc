// The protocol's I/O floor: the file operations of one run of the tool,
// with no parsing and no geometry. Run in the folder that holds
// kdx_temp.txt; OUTPUT_BYTES is the size of the output to write (the size
// the tool writes for that input).
//
//   three renames -> counting copy -> read the input while writing the
//   output -> copy the output back -> delete the scratch file

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr size_t kBlock = 1 << 16;

/// Copies `from` to `to` in blocks and counts line feeds, as the counting
/// copy must look at every line.
long CopyCounting(const char* from, const char* to) {
  std::FILE* in = std::fopen(from, "rb");
  std::FILE* out = std::fopen(to, "wb");
  if (in == nullptr || out == nullptr) std::exit(1);
  std::vector<char> buf(kBlock);
  long lines = 0;
  size_t n;
  while ((n = std::fread(buf.data(), 1, kBlock, in)) > 0) {
    for (size_t k = 0; k < n; ++k) lines += buf[k] == '\n';
    if (std::fwrite(buf.data(), 1, n, out) != n) std::exit(1);
  }
  if (std::fclose(out) != 0) std::exit(1);
  std::fclose(in);
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: io_baseline OUTPUT_BYTES\n");
    return 2;
  }
  long output_bytes = std::atol(argv[1]);
  std::rename("kdx_temp.txt", "KDX_x2x2.$$");
  std::rename("KDX_x2x2.$$", "KDX_x2x2.$$$");
  std::rename("KDX_x2x2.$$$", "KDX_TEMP.TXT");
  long lines = CopyCounting("KDX_TEMP.TXT", "KDX_TEMP.$$$");

  std::FILE* out = std::fopen("KDX_TEMP.$$$", "wb");
  std::FILE* in = std::fopen("KDX_TEMP.TXT", "rb");
  if (in == nullptr || out == nullptr) return 1;
  std::vector<char> buf(kBlock);
  size_t n;
  long written = 0;
  while ((n = std::fread(buf.data(), 1, kBlock, in)) > 0) {
    size_t w = static_cast<size_t>(output_bytes - written) < n
                   ? static_cast<size_t>(output_bytes - written) : n;
    if (std::fwrite(buf.data(), 1, w, out) != w) return 1;
    written += static_cast<long>(w);
  }
  while (written < output_bytes) {  // output longer than the input
    size_t w = static_cast<size_t>(output_bytes - written) < kBlock
                   ? static_cast<size_t>(output_bytes - written) : kBlock;
    if (std::fwrite(buf.data(), 1, w, out) != w) return 1;
    written += static_cast<long>(w);
  }
  std::fclose(in);
  if (std::fclose(out) != 0) return 1;

  CopyCounting("KDX_TEMP.$$$", "KDX_TEMP.TXT");
  std::remove("KDX_TEMP.$$$");
  return lines < 0;
}
