// The protocol's I/O floor: the file operations of one run of the tool,
// with no parsing and no geometry. Run in the folder that holds
// kdx_temp.txt; OUTPUT_BYTES is the size of the output to write (the size
// the tool writes for that input).
//
//   three renames -> counting copy -> read the input while writing the
//   output -> copy the output back -> delete the scratch file
//
// Two floors:
//   lines   the operations as the protocol states them: the copies, the read
//           and the write go line by line through the C library (fgets with
//           a 255-byte buffer, fputs), as a run of the tool does;
//   blocks  the same files moved in 64 KiB blocks, looking at each byte once
//           to count line feeds: below what any line-based run can reach.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kBlock = 1 << 16;
bool g_lines = true;

std::FILE* Open(const char* name, const char* mode) {
  std::FILE* f = std::fopen(name, mode);
  if (f == nullptr) std::exit(1);
  return f;
}

/// Copies `from` to `to` and returns the number of lines (pieces) copied;
/// `limit` pieces at most when not 0.
long Copy(const char* from, const char* to, long limit) {
  std::FILE* in = Open(from, "rb");
  std::FILE* out = Open(to, "wb");
  long lines = 0;
  if (g_lines) {
    char piece[255];
    while ((limit == 0 || lines < limit) &&
           std::fgets(piece, sizeof piece, in)) {
      ++lines;
      if (std::fputs(piece, out) < 0) std::exit(1);
    }
  } else {
    std::vector<char> buf(kBlock);
    size_t n;
    while ((n = std::fread(buf.data(), 1, kBlock, in)) > 0) {
      for (size_t k = 0; k < n; ++k) lines += buf[k] == '\n';
      if (std::fwrite(buf.data(), 1, n, out) != n) std::exit(1);
    }
  }
  if (std::fclose(out) != 0) std::exit(1);
  std::fclose(in);
  return lines;
}

/// Reads the input to its end while writing `output_bytes` to the scratch.
void ReadAndWrite(long output_bytes) {
  std::FILE* out = Open("KDX_TEMP.$$$", "wb");
  std::FILE* in = Open("KDX_TEMP.TXT", "rb");
  long written = 0;
  if (g_lines) {
    char piece[255];
    while (std::fgets(piece, sizeof piece, in)) {
    }
    // Lines of a typical record length.
    const char line[] =
        " 0.000000000000 0.000000000000 96.464466094067 0.000000000000 \r\n";
    while (written < output_bytes) {
      size_t n = sizeof line - 1;
      if (static_cast<long>(n) > output_bytes - written)
        n = static_cast<size_t>(output_bytes - written);
      if (std::fwrite(line, 1, n, out) != n) std::exit(1);
      written += static_cast<long>(n);
    }
  } else {
    std::vector<char> buf(kBlock, ' ');
    while (std::fread(buf.data(), 1, kBlock, in) > 0) {
    }
    while (written < output_bytes) {
      size_t n = kBlock;
      if (static_cast<long>(n) > output_bytes - written)
        n = static_cast<size_t>(output_bytes - written);
      if (std::fwrite(buf.data(), 1, n, out) != n) std::exit(1);
      written += static_cast<long>(n);
    }
  }
  std::fclose(in);
  if (std::fclose(out) != 0) std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "lines") != 0 &&
                    std::strcmp(argv[1], "blocks") != 0)) {
    std::fprintf(stderr, "usage: io_baseline lines|blocks OUTPUT_BYTES\n");
    return 2;
  }
  g_lines = std::strcmp(argv[1], "lines") == 0;
  long output_bytes = std::atol(argv[2]);
  std::rename("kdx_temp.txt", "KDX_x2x2.$$");
  std::rename("KDX_x2x2.$$", "KDX_x2x2.$$$");
  std::rename("KDX_x2x2.$$$", "KDX_TEMP.TXT");
  long lines = Copy("KDX_TEMP.TXT", "KDX_TEMP.$$$", 50001);
  ReadAndWrite(output_bytes);
  Copy("KDX_TEMP.$$$", "KDX_TEMP.TXT", 0);
  std::remove("KDX_TEMP.$$$");
  return lines < 0;
}
