// The engine as a user starts it: a setup folder, a command line, an exit
// code, what is left in the temporary folder, and the boxes it shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "launcher/script_container.h"
#include "tests/support/fixture_paths.h"
#include "tests/support/process_runner.h"

namespace {

using corvane::test::FixturePath;
using corvane::test::RunProgram;
using corvane::test::TRunRequest;
using corvane::test::WinePathOf;

std::string TempFolder() {
  char path[MAX_PATH + 1];
  GetTempPathA(sizeof(path), path);
  return path;
}

std::set<std::string> WorkFolders() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((TempFolder() + "kel*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// A folder as the build tool leaves it: the engine with its script, named
// after the product, and whatever else the case puts beside it.
class TSetupFolder {
public:
  TSetupFolder() {
    static int counter = 0;
    folder_ = TempFolder() + "engine-test-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }

  std::string Put(const std::string& source, const std::string& name) {
    std::string target = folder_ + name;
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source;
    return target;
  }
  std::string Write(const std::string& name, const std::string& content) {
    std::ofstream(folder_ + name, std::ios::binary) << content;
    return folder_ + name;
  }
  void PutCompleteSetup() {
    Put(FixturePath("engine_exit_code.exe"), "demo.exe");
    Put(FixturePath("engine_resource.7z"), "demo.res");
    Put(FixturePath("smoke.msi"), "demo.msi");
    Put(WinePathOf(CORVANE_KEL_DLL), "kel.dll");
  }
  const std::string& Path() const { return folder_; }

  corvane::test::TRunResult Run(const std::string& exe, std::vector<std::string> arguments,
                                 std::vector<std::pair<std::string, std::string>> environment = {}) {
    TRunRequest request;
    request.program = folder_ + exe;
    request.arguments = std::move(arguments);
    request.workingFolder = folder_;
    request.environment = std::move(environment);
    return RunProgram(request);
  }

private:
  std::string folder_;
};

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

TEST(EngineImage, CarriesNothingAfterItsImageAndTheToolAppendsThere) {
  std::string bare = ReadAll(WinePathOf(CORVANE_ENGINE_EXE));
  auto bareEnd = corvane::FindImageEnd({reinterpret_cast<const std::uint8_t*>(bare.data()), bare.size()});
  ASSERT_TRUE(bareEnd);
  EXPECT_EQ(*bareEnd, bare.size());
  std::string withScript = ReadAll(FixturePath("engine_exit_code.exe"));
  EXPECT_EQ(withScript.substr(0, bare.size()), bare);
  EXPECT_GT(withScript.size(), bare.size());
}

// Watches for the engine's message box, records its caption and text, and
// presses its OK button the way a user would.
class TBoxWatcher {
public:
  TBoxWatcher() : thread_([this] { Watch(); }) {}
  ~TBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::string caption, text;

private:
  void Watch() {
    while (!stop_) {
      HWND box = FindWindowA("#32770", "Corvane Wizard");
      char buffer[1024] = {};
      // Only once it is on screen, with its text in place.
      if (box && IsWindowVisible(box) && GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer)) > 0) {
        GetWindowTextA(box, buffer, sizeof(buffer));
        caption = buffer;
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer));
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Under Wine the box of an interactive start-up failure comes up unpainted
// (and the preparation window without its text); being investigated.
TEST(EngineMessages, DISABLED_InteractiveFailureShowsItsBoxWithTheWizardCaption) {
  TSetupFolder setup;
  setup.PutCompleteSetup();
  DeleteFileA((setup.Path() + "demo.msi").c_str());
  corvane::test::TRunResult result;
  std::string caption, text;
  {
    TBoxWatcher watcher;
    result = setup.Run("demo.exe", {});
    caption = watcher.caption;
    text = watcher.text;
  }
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 16u);
  EXPECT_EQ(caption, "Corvane Wizard");
  EXPECT_EQ(text, "Setup database not found");
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
