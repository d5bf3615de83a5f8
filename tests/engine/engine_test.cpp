// The engine as a user starts it: a setup folder, a command line, an exit
// code, what is left in the temporary folder, and the boxes it shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "launcher/script_container.h"
#include "tests/engine/setup_folder.h"
#include "tests/support/fixture_paths.h"

namespace {

using corvane::test::Exists;
using corvane::test::FixturePath;
using corvane::test::ReadAll;
using corvane::test::TSetupFolder;
using corvane::test::WinePathOf;
using corvane::test::WorkFolders;

struct TExitCase {
  const char* name;
  void (*arrange)(TSetupFolder&);
  unsigned long exitCode;
  bool workFolderLeft;
};

class EngineExit : public testing::TestWithParam<TExitCase> {};

TEST_P(EngineExit, EndsWithItsCodeAndCleansUpAsDocumented) {
  TSetupFolder setup;
  setup.PutCompleteSetup();
  GetParam().arrange(setup);
  auto before = WorkFolders();
  auto result = setup.Run("demo.exe", {"/s"});
  ASSERT_TRUE(result.started) << result.error;
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, GetParam().exitCode);
  auto after = WorkFolders();
  EXPECT_EQ(after.size(), before.size() + (GetParam().workFolderLeft ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EngineExit,
    testing::Values(
        TExitCase{"ScriptExitCode", [](TSetupFolder&) {}, 7, false},
        TExitCase{"NoContainer", [](TSetupFolder& s) { s.Put(WinePathOf(CORVANE_ENGINE_EXE), "demo.exe"); }, 13,
                  false},
        // A script the engine cannot read: the error escapes the start-up.
        TExitCase{"DamagedContainer",
                  [](TSetupFolder& s) {
                    s.Write("demo.exe", ReadAll(WinePathOf(CORVANE_ENGINE_EXE)) + "Set Variable\r\n");
                  },
                  11, false},
        TExitCase{"NoSetupResource", [](TSetupFolder& s) { DeleteFileA((s.Path() + "demo.res").c_str()); }, 14,
                  true},
        // The engine starts without its archive library; unpacking then fails.
        TExitCase{"NoArchiveLibrary", [](TSetupFolder& s) { DeleteFileA((s.Path() + "kel.dll").c_str()); }, 15,
                  true},
        TExitCase{"DamagedSetupResource", [](TSetupFolder& s) { s.Write("demo.res", "7z but not really"); }, 15,
                  true},
        TExitCase{"NoPackage", [](TSetupFolder& s) { DeleteFileA((s.Path() + "demo.msi").c_str()); }, 16, true},
        TExitCase{"PatchInsteadOfPackage",
                  [](TSetupFolder& s) {
                    MoveFileA((s.Path() + "demo.msi").c_str(), (s.Path() + "demo.msp").c_str());
                  },
                  7, false}),
    [](const testing::TestParamInfo<TExitCase>& param) { return std::string(param.param.name); });

struct TOverrideCase {
  std::vector<std::string> arguments;
  unsigned long exitCode;
};

// NAME=VALUE pairs reach the script's variables under the upper-case name;
// options work in both forms and any case.
TEST(EngineCommandLine, OverridesReachTheScript) {
  const TOverrideCase cases[] = {
      {{"/s", "CODE=9"}, 9},
      {{"-S", "code=12"}, 12},
      {{"CODE=3", "/S", "OTHER=1"}, 3},
  };
  for (const TOverrideCase& test : cases) {
    TSetupFolder setup;
    setup.PutCompleteSetup();
    setup.Put(FixturePath("engine_override_exit_code.exe"), "demo.exe");
    auto result = setup.Run("demo.exe", test.arguments);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, test.exitCode) << test.arguments[0] << " " << test.arguments[1];
  }
}

TEST(EngineImage, CarriesNothingAfterItsImageAndTheToolAppendsThere) {
  std::string bare = ReadAll(WinePathOf(CORVANE_ENGINE_EXE));
  auto bareEnd = corvane::FindImageEnd({reinterpret_cast<const std::uint8_t*>(bare.data()), bare.size()});
  ASSERT_TRUE(bareEnd);
  EXPECT_EQ(*bareEnd, bare.size());
  std::string withScript = ReadAll(FixturePath("engine_exit_code.exe"));
  EXPECT_EQ(withScript.substr(0, bare.size()), bare);
  EXPECT_GT(withScript.size(), bare.size());
}

// Start-up reads the bytes after kel.dll's image as its message file.
TEST(EngineImage, TheArchiveLibraryCarriesNothingAfterItsImage) {
  std::string library = ReadAll(WinePathOf(CORVANE_KEL_DLL));
  auto end = corvane::FindImageEnd({reinterpret_cast<const std::uint8_t*>(library.data()), library.size()});
  ASSERT_TRUE(end);
  EXPECT_EQ(*end, library.size());
}

// Watches for the engine's message box with the given caption, records its
// text, and presses its OK button the way a user would.
class TBoxWatcher {
public:
  explicit TBoxWatcher(std::string expectedCaption)
      : expectedCaption_(std::move(expectedCaption)), thread_([this] { Watch(); }) {}
  ~TBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::string text;

private:
  void Watch() {
    while (!stop_) {
      HWND box = FindWindowA("#32770", expectedCaption_.c_str());
      char buffer[1024] = {};
      // Only once it is on screen, with its text in place.
      if (box && IsWindowVisible(box) && GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer)) > 0) {
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  }
  const std::string expectedCaption_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// An interactive run whose one message box, captioned as given, is read and
// answered OK; the text stays empty when no such box came up.
struct TBoxRun {
  corvane::test::TRunResult result;
  std::string text;
};
TBoxRun RunAnsweringTheBox(TSetupFolder& setup, const std::string& caption) {
  TBoxRun run;
  TBoxWatcher watcher(caption);
  run.result = setup.Run("demo.exe", {});
  run.text = watcher.text;
  return run;
}

// Xvfb without a window manager leaves a box that overlaps the preparation
// window unpainted on screen, though it works: it is read through its window.
TEST(EngineMessages, InteractiveFailureShowsItsBoxWithTheWizardCaption) {
  TSetupFolder setup;
  setup.PutCompleteSetup();
  DeleteFileA((setup.Path() + "demo.msi").c_str());
  const TBoxRun run = RunAnsweringTheBox(setup, "Corvane Wizard");
  ASSERT_FALSE(run.result.timedOut);
  EXPECT_EQ(run.result.exitCode, 16u);
  EXPECT_EQ(run.text, "Setup database not found");
}

// The build tool appends the setup language's message file to kel.dll.
TEST(EngineMessages, AMessageFileAppendedToTheArchiveLibraryReplacesTheTable) {
  TSetupFolder setup;
  setup.PutCompleteSetup();
  DeleteFileA((setup.Path() + "demo.msi").c_str());
  std::string messageFile;
  for (int line = 1; line <= 115; ++line) {
    messageFile += line == 4 ? "Paketdatenbank fehlt" : line == 23 ? "Corvane-Assistent" : "";
    messageFile += "\r\n";
  }
  setup.Write("kel.dll", ReadAll(WinePathOf(CORVANE_KEL_DLL)) + messageFile);
  const TBoxRun run = RunAnsweringTheBox(setup, "Corvane-Assistent");
  ASSERT_FALSE(run.result.timedOut);
  EXPECT_EQ(run.result.exitCode, 16u);
  EXPECT_EQ(run.text, "Paketdatenbank fehlt");
}

TEST(EngineSafety, LibrariesPlantedBesideTheSetupAreNotLoaded) {
  TSetupFolder setup;
  setup.PutCompleteSetup();
  const char* planted[] = {"version.dll", "msi.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll",
                           "comctl32.dll", "shfolder.dll", "profapi.dll", "winmm.dll", "userenv.dll"};
  std::string overrides;
  for (const char* name : planted) {
    setup.Put(WinePathOf(CORVANE_PLANTED_DLL), name);
    overrides += std::string(overrides.empty() ? "" : ",") + std::string(name).substr(0, std::strlen(name) - 4);
  }
  // Wine prefers its own libraries; told to prefer files, it searches the
  // program's folder first, as Windows does for these names.
  auto result = setup.Run("demo.exe", {"/s"}, {{"WINEDLLOVERRIDES", overrides + "=n,b"}});
  EXPECT_EQ(result.exitCode, 7u);
  for (const char* name : planted) EXPECT_FALSE(Exists(setup.Path() + name + ".loaded")) << name;
}

}  // namespace
