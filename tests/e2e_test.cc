// End-to-end checks of the exchange-file protocol: exact bytes of every file
// left in the directory, the exit status and both console streams.

#include <gtest/gtest.h>

#include <string>

#include "e2e_harness.h"

using e2e::Crlf;
using e2e::EmptyRestoreBlock;
using e2e::Files;
using e2e::RunIn;

namespace {

const char kHost[] = "kdx_temp.txt";
const char kExchange[] = "KDX_TEMP.TXT";
const char kScratch[] = "KDX_TEMP.$$$";

const std::string kTooCloseMsg =
    "h# R_RENSEN "
    "\x83\x7c\x83\x43\x83\x93\x83\x67\x8a\xd4\x8a\x75\x82\xaa\x92\x5a\x82\xad"
    "\x82\xc4\x81\x41\x96\xca\x8e\xe6\x82\xe8\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1------ \r\n";
std::string TooSharpMsg(char code) {
  return std::string("h# R_RENSEN "
                     "\x90\xdc\x82\xe8\x95\xd4\x82\xb5\x8a\x70\x93\x78\x82\xaa"
                     "\x89\x73\x82\xad\x82\xc4\x81\x41\x96\xca\x8e\xe6\x82\xe8"
                     "\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1(") +
         code + ")------ \r\n";
}
const std::string kOverLimit =
    "he  \x97\x76\x91\x66\x90\x94\x83\x49\x81\x5b\x83\x6f\x81\x5b"
    "    MAX=50000\r\n";

const std::string kRightAngleIn = "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n";
const std::string kRightAngleOut = Crlf(
    {" 0.000000000000 0.000000000000 96.464466094067 0.000000000000 ",
     "ci 96.464466094067 3.535533905933 3.535533905933 -45.000000000000 "
     "45.000000000000 1.000000000000 -45.000000000000 ",
     " 100.000000000000 3.535533905933 100.000000000000 100.000000000000 "});

std::string Lines(int count, const std::string& line) {
  std::string s;
  s.reserve(static_cast<size_t>(count) * line.size());
  for (int k = 0; k < count; ++k) s += line;
  return s;
}

}  // namespace

// Every run below ends with status 0, says nothing, and leaves the exchange
// file alone, holding the records, the passed-through lines or the result
// message, then the restore block.
TEST(Protocol, WorkedOutlinesPassThroughAndResultsByteForByte) {
  struct Case {
    const char* name;
    std::string input;
    std::string records;
    std::string args;
  } cases[] = {
      {"open right angle", kRightAngleIn, kRightAngleOut, ""},
      {"closed square",
       "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n",
       Crlf({" 3.535533905933 0.000000000000 96.464466094067 0.000000000000 ",
             "ci 96.464466094067 3.535533905933 3.535533905933 "
             "-45.000000000000 45.000000000000 1.000000000000 "
             "-45.000000000000 ",
             " 100.000000000000 3.535533905933 100.000000000000 "
             "96.464466094067 ",
             "ci 96.464466094067 96.464466094067 3.535533905933 "
             "-45.000000000000 45.000000000000 1.000000000000 "
             "45.000000000000 ",
             " 96.464466094067 100.000000000000 3.535533905933 "
             "100.000000000000 ",
             "ci 3.535533905933 96.464466094067 3.535533905933 "
             "-45.000000000000 45.000000000000 1.000000000000 "
             "135.000000000000 ",
             " 0.000000000000 96.464466094067 0.000000000000 3.535533905933 ",
             "ci 3.535533905933 3.535533905933 3.535533905933 "
             "-45.000000000000 45.000000000000 1.000000000000 "
             "-135.000000000000 "}), ""},
      {"chord corner", "hp1 0 0\r\nhp2 100 0\r\nhp3 200 5\r\n",
       Crlf({" 0.000000000000 0.000000000000 97.499219846767 0.000000000000 ",
             " 97.499219846767 0.000000000000 102.497660027061 "
             "0.124883001353 ",
             " 102.497660027061 0.124883001353 200.000000000000 "
             "5.000000000000 "}), ""},
      {"mirrored right turn", "hp1 0 0\r\nhp2 100 0\r\nhp3 100 -100\r\n",
       Crlf({" 0.000000000000 0.000000000000 96.464466094067 0.000000000000 ",
             "ci 96.464466094067 -3.535533905933 3.535533905933 "
             "-45.000000000000 45.000000000000 1.000000000000 "
             "45.000000000000 ",
             " 100.000000000000 -3.535533905933 100.000000000000 "
             "-100.000000000000 "}), ""},
      // Result messages.
      {"last side too short", "hp1 0 0\nhp2 100 0\nhp3 100 8\n", kTooCloseMsg, ""},
      {"twenty points", Lines(20, "hp1 0 0\n"), kTooCloseMsg, ""},
      {"too sharp", "hp1 0 0\nhp2 5 0\nhp3 5 100\n", TooSharpMsg('2'), ""},
      {"exact reversal", "hp1 0 100\nhp2 0 0\nhp3 0 100\n", TooSharpMsg('2'), ""},
      {"exact reversal, Men 0", "hp1 0 100\nhp2 0 0\nhp3 0 100\n", TooSharpMsg('3'),
       "-c0"},
      {"point read as inf", "hp1 0 0\nhp2 inf 0\nhp3 100 100\n", kTooCloseMsg, ""},
      // Passed through, then the "too close" message of a run without points.
      {"CR LF", "# one\r\nbz two\r\nlc20\r\n", "# one\r\nbz two\r\n" + kTooCloseMsg, ""},
      {"bare LF gains the CR", "# one\nbz two\n", "# one\r\nbz two\r\n" + kTooCloseMsg, ""},
      {"last line without line end", "lc20\n# end", "# end\r\n" + kTooCloseMsg, ""},
      {"lone CR kept", "# a\rb\r\n", "# a\rb\r\n" + kTooCloseMsg, ""},
      {"Ctrl-Z ends the input", "# a\r\n\x1a# b\r\n", "# a\r\n" + kTooCloseMsg, ""},
      {"NUL is data", std::string("# a\0b\r\n", 7),
       std::string("# a\0b\r\n", 7) + kTooCloseMsg, ""},
      {"long comment whole", "#" + std::string(299, 'x') + "\r\n",
       "#" + std::string(299, 'x') + "\r\n" + kTooCloseMsg, ""},
      {"long bz line whole", "bz" + std::string(600, 'y') + "\n",
       "bz" + std::string(600, 'y') + "\r\n" + kTooCloseMsg, ""},
      {"h# and he dropped", "h# old\r\nhe old\r\n", kTooCloseMsg, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::Outcome o = RunIn({{kHost, c.input}}, c.args);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.files, (Files{{kExchange, c.records + EmptyRestoreBlock()}}));
  }
}

TEST(Protocol, LineLimitCountsPieces) {
  // 50000 lines pass.
  e2e::Outcome ok = RunIn({{kHost, Lines(50000, "z1\r\n")}});
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.files, (Files{{kExchange, kTooCloseMsg + EmptyRestoreBlock()}}));

  // 50001 lines, or 49999 and one 300-character line (two pieces), are
  // refused: the host keeps its input, the scratch file holds the record.
  std::string long_line = "z" + std::string(299, '1') + "\n";
  for (const std::string& input :
       {Lines(50001, "z1\r\n"), Lines(49999, "z1\n") + long_line}) {
    e2e::Outcome o = RunIn({{kHost, input}});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.files, (Files{{kExchange, input}, {kScratch, kOverLimit}}));
  }
}

TEST(Protocol, FileNamesAndLeftOvers) {
  const std::string drawn = kRightAngleOut + EmptyRestoreBlock();
  struct Case {
    const char* name;
    Files start;
    std::string output;
  } cases[] = {
      {"the host's file under the upper-case name is used as it is",
       {{kExchange, kRightAngleIn}}, drawn},
      // Never processed in place of the host's file.
      {"a scratch file and intermediate names left by a crashed run",
       {{kHost, kRightAngleIn},
        {kScratch, "old scratch\r\n"},
        {"KDX_x2x2.$$", "hp1 0 0\r\n"},
        {"KDX_x2x2.$$$", "hp1 5 5\r\n"}},
       drawn},
      // Names are matched without regard to case, as on the host's platform.
      {"mixed-case exchange file, lower-case scratch file",
       {{"Kdx_Temp.Txt", kRightAngleIn}, {"kdx_temp.$$$", "old scratch\r\n"}},
       drawn},
      {"an empty exchange file is a normal run", {{kHost, ""}},
       kTooCloseMsg + EmptyRestoreBlock()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::Outcome o = RunIn(c.start);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.files, (Files{{kExchange, c.output}}));
  }
}

TEST(Protocol, HelpAndVersionTouchNoFile) {
  for (const Files& start : {Files{}, Files{{kHost, kRightAngleIn}}}) {
    e2e::Outcome help = RunIn(start, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: rrensen", 0), 0u);
    EXPECT_NE(help.out.find("kdx_temp.txt"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.files, start);
    e2e::Outcome version = RunIn(start, "-c3 --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("rrensen ", 0), 0u);
    EXPECT_EQ(version.files, start);
  }
  // Any other word keeps its meaning: "--helpx" is an illegal option.
  e2e::Outcome other = RunIn({{kHost, kRightAngleIn}}, "--helpx");
  EXPECT_EQ(other.status, 0);
  EXPECT_EQ(other.err, "\n illegal Option.\n");
  EXPECT_EQ(other.files.count(kExchange), 1u);
}

TEST(Protocol, MissingExchangeFile) {
  e2e::Outcome o = RunIn({}, "-c3 stray-word");
  EXPECT_EQ(o.status, 255);  // -1
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "Cannot open file: KDX_TEMP.TXT \n");
  EXPECT_EQ(o.files, Files{});
}

TEST(Protocol, ScratchWriteFailureKeepsHostInput) {
  e2e::Outcome o = RunIn({{kHost, kRightAngleIn}}, "",
                       "ln -s /dev/full 'KDX_TEMP.$$$'");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "Cannot write file: KDX_TEMP.$$$ \n");
  EXPECT_EQ(o.files[kExchange], kRightAngleIn);
}

// POSIX only (the Windows suite's filter leaves it out): Wine shows a link
// as the file it points to.
TEST(Posix, AScratchFileThatIsALinkIsCopiedBackNotRenamed) {
  // Renaming the link over the exchange file would leave the host a link;
  // the output is copied instead, and the link removed.
  e2e::Outcome o = RunIn({{kHost, kRightAngleIn}}, "",
                         "touch elsewhere && ln -s elsewhere 'KDX_TEMP.$$$'");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err, "");
  const std::string output = kRightAngleOut + EmptyRestoreBlock();
  EXPECT_EQ(o.files, (Files{{kExchange, output}, {"elsewhere", output}}));
}

TEST(Protocol, DebugLevelsLeaveBothFiles) {
  const std::string trailer = Crlf(
      {"# ------------------ main() Pattern1 end file closing "
       "------------------ ",
       "#    jd_xmax= 3 stepcnt= 0 KYlengTotal= 0.00000000"});
  const std::string header =
      "# K_RENSEN ----  POINTcnt<3>----- \n"
      "#     PX[0]=0.0 PY[0]=0.0 \n"
      "#     PX[1]=0.0 PY[1]=0.0 \n"
      "#     PX[2]=100.0 PY[2]=0.0 \n"
      "#     PX[3]=100.0 PY[3]=100.0 \n"
      "#     PX[4]=0.0 PY[4]=0.0 \n"
      "#     PX[5]=0.0 PY[5]=0.0 \n"
      "#     PX[iPOINTcnt]=100.000000 PY[iPOINTcnt]=100.000000 \n"
      "#     COMMAND-Option /c(5.0) \n";
  e2e::Outcome one = RunIn({{kHost, kRightAngleIn}}, "-t1");
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(one.out, header);
  EXPECT_EQ(one.files,
            (Files{{kExchange, kRightAngleIn},
                   {kScratch, kRightAngleOut + trailer + EmptyRestoreBlock()}}));

  e2e::Outcome two = RunIn({{kHost, kRightAngleIn}}, "/T2");
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(two.out,
            "\n\n#### debug #### Cmd-Option read\n"
            "#  copyed to KDX_TEMP.$$$ \n" +
                header +
                "#  P(2)-P(3) if len1(100.0) < 2.0 x Men(5.0) error \n"
                "#   k0(0.785398rad)(45.000000dgree)  "
                "re(3.535534)=lenx(3.535534)/tan(k0)\n"
                "#  bcos(0.996195) a(0.707107)k0(0.785398rad)"
                "(45.000000dgree)  re(3.535534)=lenx(3.535534)/tan(k0)\n"
                "#  sikaku(0.0) syukaku(0.0)\n"
                "# Ccnt(3) i(3) Men(5.000000)\n");
  EXPECT_EQ(two.files[kExchange], kRightAngleIn);
  EXPECT_EQ(two.files[kScratch],
            "ch 96.5 3.5 3,0,\"3.5,-45.0,45.0,-45.0 k0(45.0)\r\n"
            "ci 96.464466094067 3.535533905933 1.767766952966 \r\n" +
                kRightAngleOut + EmptyRestoreBlock());

  e2e::Outcome three = RunIn({{kHost, "hp1 10 20\n"}}, "-t3");
  EXPECT_EQ(three.status, 0);
  EXPECT_EQ(three.out,
            "# --- command line option ---------------\n# --- wSCLR=(0)\n"
            "## ---- KD_PATTERN()  kdx_temp.txt processing --------\n"
            "##  jd_x=0/1 : jd_x/jd_xmax  jd_limit=50000\n"
            "##  buf=(hp1 10 20\n)\n"
            "##  hp1   10.000000 20.000000 \n"
            "# K_RENSEN ----  POINTcnt<1>----- \n"
            "#     PX[0]=0.0 PY[0]=0.0 \n"
            "#     PX[1]=10.0 PY[1]=20.0 \n"
            "#     PX[2]=0.0 PY[2]=0.0 \n"
            "#     PX[3]=0.0 PY[3]=0.0 \n"
            "#     PX[4]=0.0 PY[4]=0.0 \n"
            "#     PX[5]=0.0 PY[5]=0.0 \n"
            "#     PX[iPOINTcnt]=10.000000 PY[iPOINTcnt]=20.000000 \n"
            "#     COMMAND-Option /c(5.0) \n"
            "# ------------------ main() Pattern1 end file closing "
            "------------------ \n"
            "# jd_xmax= 1 stepcnt= 0 Error(1)\n");
  EXPECT_EQ(three.files[kScratch], kTooCloseMsg + EmptyRestoreBlock());
}

TEST(Protocol, OptionsReachTheOutput) {
  // A fillet size of 2 gives tangent points 1.414214 from the corner; an
  // illegal letter is reported and the run goes on.
  e2e::Outcome o = RunIn({{kHost, kRightAngleIn}}, "-c2 -x");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err, "\n illegal Option.\n");
  EXPECT_EQ(o.files[kExchange].substr(0, 64),
            " 0.000000000000 0.000000000000 98.585786437627 0.000000000000 \r\n");
}

TEST(Protocol, RestoreBlockFromTheFirstAttributes) {
  e2e::Outcome o = RunIn({{kHost,
                         "lg0\nly1f\nlt2\nlc5\npn3\ncn4\nlc9\npnffffffff\n"}});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.files[kExchange], kTooCloseMsg +
                                    Crlf({"cn4", "lg0", "ly1f", "lt2", "lc5",
                                          "pn3"}));
}
