#include "launcher/command_line.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CommandLine, OptionsAnyCaseFirstMatchWins) {
  TCommandLine line = ParseCommandLine(
      {"/S", "/L=C:\\Logs\\First.LOG", "-l=c:\\second.log", "/m=C:\\Dl\\Setup.EXE", "-p=D:\\Cache",
       "/k=SeCrEt", "/k=other"},
      "setup.exe ...");
  EXPECT_TRUE(line.silent);
  EXPECT_EQ(line.logPath, "c:\\logs\\first.log");
  EXPECT_EQ(line.selfExtractorPath, "c:\\dl\\setup.exe");
  EXPECT_EQ(line.cachedSetupFolder, "d:\\cache");
  EXPECT_EQ(line.archiveKey, "SeCrEt");  // a password keeps its letter case
  EXPECT_TRUE(line.overrides.empty());
}

TEST(CommandLine, DashSilentAndOverridesInOrder) {
  TCommandLine line = ParseCommandLine(
      {"TARGETDIR=C:\\Program Files\\App", "-s", "/TARGETDIR=x", "-A=b", "NAME=a=b", "plain"}, "");
  EXPECT_TRUE(line.silent);
  ASSERT_EQ(line.overrides.size(), 2u);
  EXPECT_EQ(line.overrides[0], (std::pair<std::string, std::string>{"TARGETDIR", "C:\\Program Files\\App"}));
  EXPECT_EQ(line.overrides[1], (std::pair<std::string, std::string>{"NAME", "a=b"}));
}

TEST(CommandLine, NotSilentWithoutTheOption) {
  EXPECT_FALSE(ParseCommandLine({"/silent", "s"}, "").silent);
}

TEST(CommandLine, ArgumentsTextDropsTheProgramPath) {
  struct Case {
    const char* raw;
    const char* expected;
  } cases[] = {
      {"\"C:\\My Setups\\setup.exe\" /s TARGETDIR=C:\\x", "/s TARGETDIR=C:\\x"},
      {"setup.exe /s", "/s"},
      {"setup.exe", ""},
      {"\"C:\\My Setups\\setup.exe\"", ""},
      {"\"unclosed", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ArgumentsText(c.raw), c.expected) << c.raw;
}

}  // namespace
}  // namespace corvane
