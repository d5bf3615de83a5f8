// The archive commands from authored scripts, and where the engine takes its
// archive library from: setups run end to end under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/setup_folder.h"
#include "tests/support/fixture_paths.h"
#include "tests/support/process_runner.h"

namespace {

using corvane::test::Exists;
using corvane::test::FixturePath;
using corvane::test::ReadAll;
using corvane::test::RunProgram;
using corvane::test::TRunRequest;
using corvane::test::TSetupFolder;
using corvane::test::WinePathOf;

// The loader's search order would take a kel.dll from the current folder
// before looking elsewhere; the engine takes only the one beside itself.
TEST(EngineSafety, AnArchiveLibraryInTheCurrentFolderIsNeverLoaded) {
  for (const bool besideEngine : {true, false}) {
    SCOPED_TRACE(besideEngine ? "kel.dll beside the engine" : "no kel.dll beside the engine");
    TSetupFolder setup;
    setup.PutCompleteSetup();
    if (!besideEngine) DeleteFileA((setup.Path() + "kel.dll").c_str());
    CreateDirectoryA((setup.Path() + "current").c_str(), nullptr);
    const std::string planted = setup.Put(WinePathOf(CORVANE_PLANTED_DLL), "current\\kel.dll");
    TRunRequest request;
    request.program = setup.Path() + "demo.exe";
    request.arguments = {"/s"};
    request.workingFolder = setup.Path() + "current";
    auto result = RunProgram(request);
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_EQ(result.exitCode, besideEngine ? 7u : 15u);
    EXPECT_FALSE(Exists(planted + ".loaded"));
  }
}

struct TExtractCase {
  const char* name;
  const char* archive;
  const char* password;
  bool cancel;  // interactive, with ABORT set from the start
  unsigned long exitCode;
  const char* file;  // below the destination
  bool extracted;
};

class EngineExtract : public testing::TestWithParam<TExtractCase> {};

// The script tells its result variable's text apart and ends with a code for it.
TEST_P(EngineExtract, TheScriptReadsTheOutcomeFromItsResultVariable) {
  const TExtractCase& c = GetParam();
  TSetupFolder setup;
  setup.PutCompleteSetup();
  setup.Put(FixturePath("engine_extract.exe"), "demo.exe");
  const std::string destination = setup.Path() + "out\\deep";
  std::vector<std::string> arguments = {"ARCHIVE=" + FixturePath(c.archive), "DEST=" + destination,
                                        std::string("PASSWORD=") + c.password};
  arguments.insert(arguments.begin(), c.cancel ? "ABORT=TRUE" : "/s");
  auto result = setup.Run("demo.exe", arguments);
  ASSERT_TRUE(result.started) << result.error;
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, c.exitCode);
  // A failed extraction leaves no file with encrypted or unfinished data.
  EXPECT_EQ(Exists(destination + "\\" + c.file), c.extracted) << c.file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EngineExtract,
    testing::Values(TExtractCase{"Extracts", "kel_lzma2.7z", "", false, 20, "Plugins\\x86\\deep.txt", true},
                    TExtractCase{"Encrypted", "kel_aes.7z", "SECRET", false, 20, "readme.txt", true},
                    TExtractCase{"MissingArchive", "no-such-archive.7z", "", false, 21, "readme.txt", false},
                    TExtractCase{"WrongPassword", "kel_aes.7z", "WRONG", false, 22, "readme.txt", false},
                    TExtractCase{"Cancelled", "engine_long.7z", "", true, 23, "long.bin", false}),
    [](const testing::TestParamInfo<TExtractCase>& param) { return std::string(param.param.name); });

TEST(EngineLightMode, RunsTheNestedSetupAndPutsItsScriptBack) {
  TSetupFolder setup;
  setup.PutCompleteSetup();
  setup.Put(FixturePath("engine_light.exe"), "demo.exe");
  CreateDirectoryA((setup.Path() + "light").c_str(), nullptr);
  const std::string script = setup.Put(FixturePath("engine_light_child.bin"), "light\\light.exe");
  setup.Put(FixturePath("engine_resource.7z"), "light\\light.res");
  setup.Put(FixturePath("smoke.msi"), "light\\light.msi");

  auto result = setup.Run("demo.exe", {"/s", "LIGHT=" + script});
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 42u) << "the nested setup's own exit code";
  EXPECT_EQ(ReadAll(script), ReadAll(FixturePath("engine_light_child.bin")));
  EXPECT_FALSE(Exists(script + ".nox"));
  EXPECT_FALSE(Exists(script + ".to"));
  EXPECT_FALSE(Exists(setup.Path() + "light\\kel.dll"));
  EXPECT_TRUE(Exists(setup.Path() + "kel.dll"));

  // A script file that is not there: "-1", and nothing is run.
  result = setup.Run("demo.exe", {"/s", "LIGHT=" + setup.Path() + "light\\missing.exe"});
  EXPECT_EQ(result.exitCode, 41u);
}

}  // namespace
