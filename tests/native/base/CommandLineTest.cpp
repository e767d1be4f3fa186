// The shared command-line parser: options anywhere, "--", values, the built-in requests, and the
// exit codes a program gets from Run.
#include "platform/base/CommandLine.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

const TCommandLine kLine("tool", "usage: tool IN OUT [--minutes N] [--keep]\n",
                         {{"--minutes", "N"}, {"--keep", ""}, {"--shots", "DIR"}});

TArguments Parsed(const std::vector<std::string> &args) {
  TArguments out;
  EXPECT_EQ(kLine.Parse(args, out), TCommandLine::TRequest::Run);
  return out;
}

std::string UsageProblem(const std::vector<std::string> &args) {
  TArguments out;
  try {
    kLine.Parse(args, out);
  } catch (const EUsageError &e) {
    return e.Message();
  }
  return "(accepted)";
}

TEST(CommandLine, OptionsGoAnywhereAndDashedNamesOnlyAfterTheDoubleDash) {
  TArguments a = Parsed({"--minutes", "60", "in", "--keep", "out", "--shots=-odd"});
  EXPECT_EQ(a.Take("IN"), "in");
  EXPECT_EQ(a.Take("OUT"), "out");
  EXPECT_NO_THROW(a.Finish());
  EXPECT_EQ(a.IntValue("--minutes", 0, 1440), 60);
  EXPECT_TRUE(a.Has("--keep"));
  EXPECT_EQ(a.Value("--keep"), "");
  EXPECT_EQ(a.Value("--shots"), "-odd"); // a value given with "=" may start with "-"

  TArguments b = Parsed({"in", "--", "--help", "-x"});
  EXPECT_EQ(b.Take("IN"), "in");
  EXPECT_EQ(b.Take("OUT"), "--help");
  EXPECT_EQ(b.TakeOptional(), "-x");
  EXPECT_EQ(b.TakeOptional(), std::nullopt);
  EXPECT_FALSE(b.Has("--minutes"));
  EXPECT_EQ(b.IntValue("--minutes", 0, 10), std::nullopt);
}

TEST(CommandLine, EachMistakeIsNamedInOneLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--output", "x"}, "未知的选项“--output”"},
      {{"-o"}, "未知的选项“-o”"},
      {{"-"}, "未知的选项“-”"},
      {{"in", "--minutes"}, "选项 --minutes 后面缺少 N"},
      {{"--minutes", "-5", "in"}, "选项 --minutes 后面缺少 N"}, // never swallows an option-like word
      {{"--minutes", "1", "--minutes", "2"}, "选项 --minutes 只能给一次"},
      {{"--keep=yes"}, "选项 --keep 不带值"},
      {{"--unknown=1"}, "未知的选项“--unknown”"},
  };
  for (const auto &[args, expected] : cases)
    EXPECT_EQ(UsageProblem(args), expected);

  TArguments a = Parsed({"in", "out", "extra", "--minutes=x"});
  a.Take("IN");
  a.Take("OUT");
  EXPECT_THROW(a.Finish(), EUsageError);
  try {
    a.Take("THIRD"), a.Take("FOURTH");
    FAIL();
  } catch (const EUsageError &e) {
    EXPECT_EQ(e.Message(), "缺少参数 FOURTH");
  }
  try {
    a.IntValue("--minutes", 0, 1440);
    FAIL();
  } catch (const EUsageError &e) {
    EXPECT_EQ(e.Message(), "--minutes 应为 0 至 1440 的整数（现为“x”）");
  }
  for (const char *bad : {"", "-1", "1441", "1e3", "12345678901", " 5"})
    EXPECT_THROW(ParseWholeNumber("N", bad, 0, 1440), EUsageError) << bad;
  EXPECT_EQ(ParseWholeNumber("N", "0007", 0, 1440), 7);
}

TEST(CommandLine, HelpAndVersionAnswerWhateverElseTheLineHolds) {
  TArguments out;
  EXPECT_EQ(kLine.Parse({"--bogus", "-h"}, out), TCommandLine::TRequest::Help);
  EXPECT_EQ(kLine.Parse({"in", "--help"}, out), TCommandLine::TRequest::Help);
  EXPECT_EQ(kLine.Parse({"--version", "--minutes"}, out), TCommandLine::TRequest::Version);
  EXPECT_EQ(kLine.Parse({"--", "--help"}, out), TCommandLine::TRequest::Run);
}

TEST(CommandLine, RunPrintsToTheRightStreamAndReturnsTheSharedExitCodes) {
  int calls = 0;
  auto run = [&](const std::vector<std::string> &args, std::string &out, std::string &err,
                 const std::function<int(TArguments &)> &body) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = kLine.Run(args, body);
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return code;
  };
  auto body = [&](TArguments &a) {
    a.Take("IN");
    a.Finish();
    ++calls;
    return 0;
  };
  std::string out, err;
  EXPECT_EQ(run({"-h"}, out, err, body), 0);
  EXPECT_EQ(out, kLine.Usage());
  EXPECT_EQ(err, "");
  EXPECT_EQ(run({"--version"}, out, err, body), 0);
  EXPECT_EQ(out, std::string("tool ") + ProjectVersion() + "\n");
  EXPECT_EQ(run({"--what"}, out, err, body), 2);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "tool: 未知的选项“--what”\n" + kLine.Usage());
  EXPECT_EQ(run({}, out, err, body), 2);
  EXPECT_EQ(err, "tool: 缺少参数 IN\n" + kLine.Usage());
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(run({"in"}, out, err, body), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(run({"in"}, out, err, [](TArguments &) -> int { throw Exception("磁盘已满"); }), 1);
  EXPECT_EQ(err, "tool: 磁盘已满\n");
}

TEST(CommandLine, ProgramArgumentsDropTheProgramName) {
#ifndef _WIN32
  char name[] = "tool", first[] = "目录";
  char *argv[] = {name, first, nullptr};
  EXPECT_EQ(ProgramArguments(2, argv), std::vector<std::string>{"目录"});
  EXPECT_EQ(ProgramArguments(0, argv), std::vector<std::string>{});
#else
  // The test program's own command line: gtest's flag as CTest passes it.
  EXPECT_EQ(ProgramArguments(0, nullptr), std::vector<std::string>{"--gtest_brief=0"});
#endif
}

} // namespace
} // namespace qv
