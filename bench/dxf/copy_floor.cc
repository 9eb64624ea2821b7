// The floor for rrensen-dxf on a large drawing: a program that reads a file
// and writes it again, in the blocks the tool reads and writes (1 MiB,
// through the C library), and does nothing else.
//
// usage: dxf_copy_floor IN OUT

#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: dxf_copy_floor IN OUT\n", stderr);
    return 2;
  }
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> in(std::fopen(argv[1], "rb"));
  std::unique_ptr<std::FILE, Closer> out(std::fopen(argv[2], "wb"));
  if (!in || !out) {
    std::fputs("cannot open the files\n", stderr);
    return 2;
  }
  std::vector<char> block(size_t{1} << 20);
  for (;;) {
    const size_t read = std::fread(block.data(), 1, block.size(), in.get());
    if (read == 0) break;
    if (std::fwrite(block.data(), 1, read, out.get()) != read) return 2;
  }
  return std::ferror(in.get()) != 0 || std::fclose(out.release()) != 0 ? 2 : 0;
}
