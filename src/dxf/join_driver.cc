// Joins the LINE and ARC entities of an ASCII DXF file into polylines with
// dxf::JoinDrawing, for the tests that read the result with another DXF
// reader.
//
// usage: rrensen_dxf_join_driver INPUT OUTPUT [GAP]
// Writes OUTPUT and "<chains> chains of <pieces> pieces" on standard output;
// exit status 0, or 2 with the reason on standard error.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "dxf/join.h"
#include "dxf/number_text.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: rrensen_dxf_join_driver INPUT OUTPUT [GAP]\n";
    return 2;
  }
  double gap = dxf::kDefaultJoinGap;
  if (argc == 4 && !dxf::ParseReal(argv[3], gap)) {
    std::cerr << "the gap is not a number\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 2;
  }
  const std::string bytes = contents.str();
  const dxf::JoinRun run = dxf::JoinDrawing(bytes, gap);
  if (!run.error.empty()) {
    std::cerr << argv[1] << ":" << run.error_line << ": " << run.error << "\n";
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << run.output;
  if (!out.flush()) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 2;
  }
  std::cout << run.chains << " chains of " << run.joined_pieces
            << " pieces\n";
  return 0;
}
