// Hostile exchange files: whatever the input (within the line limit), a run
// completes with status 0, ends its output with the restore block, and
// writes no record with nan or inf.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "output_check.h"

namespace {

const char* const kKeys[] = {"#",   " ",   "bz",  "cc",  "cn0", "cn\"", "cn",
                             "ci",  "ch",  "hq",  "hh",  "hp1 ", "hp1+",
                             "hp1/", "hp1-", "hp12-", "hs", "hcw", "hch",
                             "hcd", "hcc", "lg",  "ly",  "lt",  "lc",  "pn",
                             "pt",  "pl",  "z"};

void ExpectSoundRun(const std::string& input, const std::string& args = "") {
  e2e::Outcome o = e2e::RunIn({{"kdx_temp.txt", input}}, args);
  ASSERT_EQ(o.status, 0) << o.err;
  ASSERT_EQ(o.files.size(), 1u);
  EXPECT_EQ(check::CompletedOutput(o.files["KDX_TEMP.TXT"]), "");
}

TEST(BadInput, EveryKeyFollowedByNothing) {
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    ExpectSoundRun(std::string(key));
    ExpectSoundRun(std::string(key) + "\r\n");
    ExpectSoundRun("hp1 0 0\nhp2 100 0\nhp3 100 100\n" + std::string(key));
  }
}

TEST(BadInput, LongLinesOfEveryKind) {
  for (const char* key : kKeys) {
    for (size_t length : {253u, 254u, 255u, 1000u}) {
      SCOPED_TRACE(std::string(key) + " " + std::to_string(length));
      std::string line = key;
      while (line.size() < length) line += " 12345.678e2";
      line.resize(length);
      ExpectSoundRun("hp1 0 0\r\n" + line + "\r\nhp2 100 0\r\nhp3 100 100\r\n");
    }
  }
}

TEST(BadInput, NumbersOutOfEveryRange) {
  std::vector<std::string> inputs = {
      "hp1 1e308 1e308\nhp2 -1e308 -1e308\nhp3 1e308 -1e308\n",
      "hp1 inf 0\nhp2 0 0\nhp3 5 5\n",
      "hp1 nan nan\nhp2 -inf 0\nhp3 0 infinity\n",
      "hp1 0 0\nhp2 1e-320 0\nhp3 100 100\n",
      "hp99999999999- 1 2\nhp1 0 0\n",
      "hp-5- 1 2\nhp1 0 0\nhp2 9 9\n",
      "cn0 inf 1 1 1\nlgffffffffff\nly-80000000\nlt99999999999\n"
      "lc-2147483649\npn-1\n",
      "cn0 1e400 nan -inf 3\ncn-7\n",
      "ci inf nan 1e999 -1e999 0 0 0\nch nan inf 1 1 \"x\n",
  };
  for (int k = 1; k <= 25; ++k) {
    inputs.push_back("hp" + std::to_string(k % 20) + "- " + std::to_string(k * 37 % 200) +
                     " " + std::to_string(k * 91 % 300) + "\n");
  }
  std::string many;
  for (int k = 1; k <= 25; ++k) many += "hp" + std::to_string(k) + "- 0 0\n";
  inputs.push_back(many);
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input);
    ExpectSoundRun(input);
    ExpectSoundRun(input, "-c19.99");
  }
}

TEST(BadInput, RandomBytesAndNuls) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 40; ++trial) {
    std::string bytes(50 + rng() % 2000, '\0');
    for (char& c : bytes) {
      // Mostly the characters of real records, some of anything.
      static const char kAlphabet[] = "hpclgtynbzsiw0123456789 .-+e\r\n#\"";
      c = rng() % 4 == 0 ? static_cast<char>(rng() & 0xff)
                         : kAlphabet[rng() % (sizeof kAlphabet - 1)];
    }
    SCOPED_TRACE(trial);
    ExpectSoundRun(bytes);
  }
  ExpectSoundRun(std::string(600, '\0'));
  ExpectSoundRun(std::string("hp1 0 0\nhp2 1\0 0\nhp3 100 100\n", 30));
}

}  // namespace
