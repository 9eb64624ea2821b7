#include "driver/run.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"

namespace driver {

namespace {

using Files = std::map<std::string, std::string>;

const char kInput[] = "# square\r\nlc5\r\nhp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n";

/// One run of the tool over files in memory.
struct MemoryRun {
  MemoryRun(const std::map<std::string, std::string>& start,
      std::vector<std::string> words = {}, long fail_at = 0,
      const char* irregular = nullptr)
      : files(fail_at) {
    for (const auto& [name, bytes] : start) files.Put(name, bytes);
    if (irregular != nullptr) files.MarkIrregular(irregular);
    {
      platform::OutStream console_stream(&console, false);
      platform::OutStream errors_stream(&errors, false);
      status = RunTool(words, files, console_stream, errors_stream);
    }
    for (const auto& [name, bytes] : files.files()) left[name] = *bytes;
  }
  platform::MemoryFileSystem files;
  int status = -100;
  std::string console, errors;
  std::map<std::string, std::string> left;
};

TEST(Driver, EveryFileOperationFaultKeepsTheHostsData) {
  MemoryRun clean(Files{{"kdx_temp.txt", kInput}});
  ASSERT_EQ(clean.status, 0);
  ASSERT_EQ(clean.left.size(), 1u);
  const std::string output = clean.left.at("KDX_TEMP.TXT");
  const long operations = clean.files.faults().count();
  ASSERT_GT(operations, 12);
  std::set<std::string> messages;
  for (long n = 1; n <= operations; ++n) {
    SCOPED_TRACE("failing operation " + std::to_string(n));
    MemoryRun r(Files{{"kdx_temp.txt", kInput}}, {}, n);
    messages.insert(r.errors);
    // The host finds its data where it looks: the whole input or the whole
    // output under the exchange file's name (either spelling), never under
    // an intermediate name.
    std::string host = r.left.count("KDX_TEMP.TXT") ? r.left["KDX_TEMP.TXT"]
                                                     : r.left["kdx_temp.txt"];
    EXPECT_TRUE(host == kInput || host == output) << host << r.errors;
    EXPECT_EQ(r.left.count("KDX_x2x2.$$") + r.left.count("KDX_x2x2.$$$"), 0u);
    // Operations 1 to 3 are the three renames; failing the second or third
    // sends the file back to the name the host left it under, and the run
    // goes on with it there, and says nothing.
    if (n == 2 || n == 3) {
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.errors, "");
      EXPECT_EQ(r.left.size(), 1u);
    }
    if (r.status == 0) {
      EXPECT_EQ(host, output);
      EXPECT_EQ(r.errors.find("Cannot"), r.errors.rfind("Cannot remove"));
    } else {
      EXPECT_TRUE(r.status == 1 || r.status == -1);
      EXPECT_EQ(host, kInput);
      EXPECT_NE(r.errors, "");
    }
  }
  // The faults reach every failure path of the round trip.
  for (const char* m : {"Cannot open file: KDX_TEMP.TXT \n",
                        "Cannot open file: KDX_TEMP.$$$ \n",
                        "Cannot read file: KDX_TEMP.TXT \n",
                        "Cannot write file: KDX_TEMP.$$$ \n"}) {
    EXPECT_EQ(messages.count(m), 1u) << m;
  }
}

TEST(Driver, HandBackFallsBackToTheCopyForAScratchFileThatIsNoFile) {
  // A scratch file that is a link or a device is not renamed over the
  // exchange file: its bytes are copied there, and it is removed.
  const Files start = {
      {"kdx_temp.txt", kInput}, {"KDX_TEMP.$$$", ""}};
  MemoryRun clean(Files{{"kdx_temp.txt", kInput}});
  const std::string output = clean.left["KDX_TEMP.TXT"];
  MemoryRun copied(start, {}, 0, "KDX_TEMP.$$$");
  EXPECT_EQ(copied.status, 0);
  EXPECT_EQ(copied.left, (std::map<std::string, std::string>{
                             {"KDX_TEMP.TXT", output}}));
  // Every fault of the copy back keeps the complete output in the scratch
  // file and ends with status -1; a failed removal is only reported.
  std::set<std::string> messages;
  for (long n = 1; n <= copied.files.faults().count(); ++n) {
    MemoryRun r(start, {}, n, "KDX_TEMP.$$$");
    messages.insert(r.errors);
    // The host's data is whole somewhere: the output handed back, the input
    // kept, or, when the copy back failed, the output kept in the scratch
    // file; a failure is always reported.
    const std::string exchange = r.left.count("KDX_TEMP.TXT")
                                     ? r.left["KDX_TEMP.TXT"]
                                     : r.left["kdx_temp.txt"];
    EXPECT_TRUE(exchange == output || exchange == kInput ||
                r.left["KDX_TEMP.$$$"] == output)
        << "operation " << n << ": " << r.errors;
    EXPECT_EQ(r.status == 0, r.errors.find("Cannot") == std::string::npos ||
                                 r.errors.find("Cannot remove") == 0);
  }
  for (const char* m : {"Cannot read file: KDX_TEMP.$$$ \n",
                        "Cannot write file: KDX_TEMP.TXT \n",
                        "Cannot remove file: KDX_TEMP.$$$ \n"}) {
    EXPECT_EQ(messages.count(m), 1u) << m;
  }
}

TEST(Driver, LongOutputIsHandedBackWhole) {
  // 20000 comment lines of 300 characters: each is two pieces, so the
  // output has 40000 pieces and more bytes than any one buffer.
  std::string line = "#" + std::string(299, 'c') + "\r\n";
  std::string input;
  for (int k = 0; k < 20000; ++k) input += line;
  MemoryRun r(Files{{"kdx_temp.txt", input}});
  EXPECT_EQ(r.status, 0);
  const std::string& out = r.left["KDX_TEMP.TXT"];
  EXPECT_EQ(out.substr(0, input.size()), input);
  EXPECT_EQ(out.substr(out.size() - 6), "lc20\r\n");
}

}  // namespace

}  // namespace driver
