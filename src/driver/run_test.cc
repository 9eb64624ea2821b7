#include "driver/run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "platform/fault.h"
#include "state/test_support.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

const char kInput[] = "# square\r\nlc5\r\nhp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n";

/// One in-process run of the tool in a fresh directory holding `files`.
struct InDir : MemoryState {
  InDir(const Files& files, std::vector<const char*> args, long fail_at = 0) {
    std::string templ = (fs::temp_directory_path() / "rrensen-run-XXXXXX").string();
    dir = mkdtemp(templ.data());
    for (const auto& [name, bytes] : files) {
      std::ofstream(fs::path(dir) / name, std::ios::binary) << bytes;
    }
    args.insert(args.begin(), "rrensen");
    platform::FailNthOperation(fail_at);
    status = RunTool(s, static_cast<int>(args.size()), args.data(), dir);
    operations = platform::OperationCount();
    platform::FailNthOperation(0);
    out.Flush();
    err.Flush();
    for (const auto& entry : fs::directory_iterator(dir)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream ss;
      ss << in.rdbuf();
      left[entry.path().filename().string()] = ss.str();
    }
    fs::remove_all(dir);
  }
  std::string dir;
  int status = -100;
  long operations = 0;
  Files left;
};

TEST(Driver, DebugLevelOneLeavesBothFilesInPlace) {
  InDir r({{"kdx_temp.txt", kInput}}, {"-t1"});
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.left.size(), 2u);
  EXPECT_EQ(r.left["KDX_TEMP.TXT"], kInput);
  const std::string& scratch = r.left["KDX_TEMP.$$$"];
  EXPECT_NE(scratch.find("#    jd_xmax= 5 stepcnt= 0 KYlengTotal= 0.00000000\r\n"
                         "lg14\r\n"),
            std::string::npos);
  EXPECT_EQ(r.s.PAI, 3.141592653589793);
  EXPECT_EQ(r.s.gomi, 0.0002);
}

TEST(Driver, EveryFileOperationFaultKeepsTheHostsData) {
  InDir clean({{"kdx_temp.txt", kInput}}, {});
  ASSERT_EQ(clean.status, 0);
  const std::string output = clean.left.at("KDX_TEMP.TXT");
  ASSERT_GT(clean.operations, 15);
  const std::set<std::string> names = {"kdx_temp.txt", "KDX_x2x2.$$",
                                       "KDX_x2x2.$$$", "KDX_TEMP.TXT",
                                       "KDX_TEMP.$$$"};
  std::set<std::string> messages;
  for (long n = 1; n <= clean.operations; ++n) {
    SCOPED_TRACE("failing operation " + std::to_string(n));
    InDir r({{"kdx_temp.txt", kInput}}, {}, n);
    EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == -1);
    messages.insert(r.errors);
    bool input_kept = false, output_kept = false;
    for (const auto& [name, bytes] : r.left) {
      EXPECT_EQ(names.count(name), 1u) << name;
      input_kept |= bytes == kInput;
      output_kept |= bytes == output;
    }
    EXPECT_TRUE(input_kept || output_kept);
    if (r.status == 0) {
      // Success means the exchange file holds the whole output; only a failed
      // final removal may leave the scratch file.
      std::string exchange = r.left.count("KDX_TEMP.TXT") ? r.left["KDX_TEMP.TXT"]
                                                          : r.left["kdx_temp.txt"];
      EXPECT_EQ(exchange, output);
      if (r.left.count("KDX_TEMP.$$$")) {
        EXPECT_EQ(n, clean.operations);
      }
      EXPECT_EQ(r.errors, "");
    } else {
      EXPECT_NE(r.errors, "");
    }
  }
  // The faults reach every failure path of the round trip.
  for (const char* m : {"Cannot open file: KDX_TEMP.TXT \n",
                        "Cannot open file: KDX_TEMP.$$$ \n",
                        "Cannot read file: KDX_TEMP.TXT \n",
                        "Cannot read file: KDX_TEMP.$$$ \n",
                        "Cannot write file: KDX_TEMP.$$$ \n",
                        "Cannot write file: KDX_TEMP.TXT \n"}) {
    EXPECT_EQ(messages.count(m), 1u) << m;
  }
}

TEST(Driver, CopyBackFailureKeepsTheCompleteOutput) {
  InDir clean({{"kdx_temp.txt", kInput}}, {});
  // The copy back's write is the third operation from the end: write, the
  // close of the exchange file, the close of the scratch file, the removal.
  InDir r({{"kdx_temp.txt", kInput}}, {}, clean.operations - 3);
  EXPECT_EQ(r.status, -1);
  EXPECT_EQ(r.errors, "Cannot write file: KDX_TEMP.TXT \n");
  EXPECT_EQ(r.left["KDX_TEMP.$$$"], clean.left["KDX_TEMP.TXT"]);
}

TEST(Driver, LongOutputIsCopiedBackWhole) {
  // 40000 comment lines of 300 characters: each is two pieces, so the
  // output has 80000 pieces, more than the counting copy would take.
  std::string line = "#" + std::string(299, 'c') + "\r\n";
  std::string input;
  for (int k = 0; k < 20000; ++k) input += line;
  InDir r({{"kdx_temp.txt", input}}, {});
  EXPECT_EQ(r.status, 0);
  const std::string& out = r.left["KDX_TEMP.TXT"];
  EXPECT_EQ(out.substr(0, input.size()), input);
  EXPECT_EQ(out.substr(out.size() - 6), "lc20\r\n");
}

}  // namespace
