// "Extract 7Zip Archive" and "Run Light Mode Setup" in scripts run by the
// interpreter, with the archive library, files, threads and programs faked.
#include "media/archive_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "launcher/tests/mini_pe.h"
#include "media/tests/fake_archive_library.h"
#include "media/tests/fake_media.h"
#include "script/tests/script_fixture.h"

namespace corvane {
namespace {

using testing::TFakeFiles;
using testing::TFakeLibrary;
using testing::TFakePrograms;
using testing::TFakeWorkers;
using testing::TLine;
using testing::TScriptRunner;

TLine Extract(std::string archive, std::string destination, std::string result, std::string password = "",
              std::string overwrite = "TRUE", std::string folders = "TRUE") {
  return {"Extract 7Zip Archive",
          {std::move(archive), std::move(destination), std::move(result), std::move(password), std::move(overwrite),
           std::move(folders)}};
}

// A run's surroundings: the interpreter with the commands, and the fakes.
struct TCommandBed {
  explicit TCommandBed(bool threaded = false) : workers(threaded) {
    library.entries = testing::EntriesNamed({"Plugins\\helper.dll", "readme.txt"});
    RegisterArchiveCommands(runner.commands, services);
  }

  TScriptRunner runner;
  TFakeLibrary library;
  TFakeFiles files;
  TFakeWorkers workers;
  TFakePrograms programs;
  TArchiveCommandServices services{library, files, workers, programs};
};

class ArchiveCommandsTest : public ::testing::Test, public TCommandBed {};

TEST_F(ArchiveCommandsTest, ExtractsWithItsParameterLinesAndStoresSuccess) {
  runner.Run({testing::Set("SRC", "C:\\\\media\\\\"), testing::Set("PASS", "secret"),
              Extract("$SRC$\\\\data.7z", "C:\\out\\\\sub", "outcome", "$PASS$", "-1", "true"),
              testing::Trace("next")});
  EXPECT_EQ(runner.ErrorShown(), "");
  EXPECT_EQ(library.extractCalls, 1);
  EXPECT_EQ(library.destination, "C:\\out\\sub");
  EXPECT_EQ(library.extractPassword, "secret");
  EXPECT_EQ(library.selection, std::vector<std::string>({"Plugins\\helper.dll", "readme.txt"}));
  EXPECT_EQ(library.folders, kArchiveKeepFolders);
  EXPECT_TRUE(files.folders.count("C:\\out\\sub")) << "the destination is made first";
  // Created under the upper-case name, and the script went on.
  EXPECT_EQ(runner.Value("OUTCOME"), "SUCCESS");
  EXPECT_EQ(runner.Trace(), "next");
  EXPECT_EQ(workers.started, 1);
  EXPECT_FALSE(runner.engine.flags.busy);
}

TEST_F(ArchiveCommandsTest, BooleanLinesFollowTheTrueRule) {
  struct TCase {
    const char* text;
    bool isTrue;
  };
  for (const TCase& c : {TCase{"true", true}, TCase{"TRUE", true}, TCase{"-1", true}, TCase{"1", false},
                         TCase{"FALSE", false}, TCase{"", false}}) {
    int answer = 0;
    library.duringCall = [&](TArchiveCallbacks& callbacks) { answer = callbacks.OverwriteAnswer(); };
    runner.Run({Extract("a.7z", "C:\\out", "", "", c.text, c.text)});
    EXPECT_EQ(answer, c.isTrue ? kArchiveAnswerReplaceAll : kArchiveAnswerKeepExisting) << c.text;
    EXPECT_EQ(library.folders, c.isTrue ? kArchiveKeepFolders : kArchiveFlatFolders) << c.text;
  }
}

TEST_F(ArchiveCommandsTest, FailuresGoIntoTheResultVariableAndTheScriptGoesOn) {
  struct TCase {
    const char* name;
    std::function<void(TFakeLibrary&)> arrange;
    const char* result;
  };
  const TCase cases[] = {
      {"missing archive",
       [](TFakeLibrary& l) {
         l.entries.reset();
         l.lastError = 1001;
       },
       "The archive file was not found"},
      {"wrong password",
       [](TFakeLibrary& l) {
         l.extractResult = false;
         l.lastError = 1008;
       },
       "#1008"},
      {"exception", [](TFakeLibrary& l) { l.throwInCall = true; }, "out of luck"},
  };
  for (const TCase& c : cases) {
    library = TFakeLibrary();
    library.entries = testing::EntriesNamed({"readme.txt"});
    c.arrange(library);
    runner.Run({testing::Set("OUTCOME", "stale"), Extract("a.7z", "C:\\out", "OUTCOME"), testing::Trace("next")});
    EXPECT_EQ(runner.ErrorShown(), "") << c.name;
    EXPECT_EQ(runner.Value("OUTCOME"), c.result) << c.name;
    EXPECT_EQ(runner.Trace(), "next") << c.name;
  }
}

TEST_F(ArchiveCommandsTest, AnEmptyResultLineStillExtractsAndStoresNothing) {
  runner.Run({Extract("a.7z", "C:\\out", "")});
  EXPECT_EQ(library.extractCalls, 1);
  EXPECT_EQ(runner.ErrorShown(), "");
}

TEST_F(ArchiveCommandsTest, SilentRunsBlockOnTheWorker) {
  runner.engine.flags.silent = true;
  runner.Run({testing::Set("SILENT", "TRUE"), Extract("a.7z", "C:\\out", "R")});
  EXPECT_EQ(runner.Value("R"), "SUCCESS");
  EXPECT_EQ(runner.host.messagesHandled, 0);
  // The worker was done inside Start, so nothing was left to wait for.
  EXPECT_TRUE(runner.host.workersWaitedFor.empty());
  // Done wakes the wake window (no progress window: 0) and the application window.
  EXPECT_EQ(workers.Wakes(), std::vector<TWindowHandle>({0, 0}));
}

class ThreadedArchiveCommandsTest : public ::testing::Test, public TCommandBed {
protected:
  ThreadedArchiveCommandsTest() : TCommandBed(true) {}
};

// Polls until the condition holds, for at most ten seconds.
template <typename TCondition>
bool Eventually(TCondition condition) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST_F(ThreadedArchiveCommandsTest, ShowsTheJobsProgressWhileBusy) {
  bool shown = false;
  bool busy = false;
  library.duringCall = [&](TArchiveCallbacks& callbacks) {
    if (library.extractCalls == 0) return;  // the listing before
    callbacks.Progress("Plugins\\helper.dll", 50, 200);
    shown = Eventually([&] { return runner.engine.progress.Snapshot().text == "Unpacking\rhelper.dll, 26% complete"; });
    busy = runner.engine.flags.busy;
  };
  runner.Run({testing::Set("PROGRESSTEXT", "Unpacking"), Extract("a.7z", "C:\\out", "R")});
  EXPECT_TRUE(shown);
  EXPECT_TRUE(busy);
  EXPECT_EQ(runner.engine.progress.Snapshot(), (TProgressValues{"Unpacking\rhelper.dll, 26% complete", 0, 100, 26}));
  EXPECT_FALSE(runner.engine.flags.busy);
  EXPECT_EQ(runner.Value("R"), "SUCCESS");
}

TEST_F(ThreadedArchiveCommandsTest, CancelStopsTheExtraction) {
  library.duringCall = [&](TArchiveCallbacks& callbacks) {
    if (library.extractCalls == 0) return;
    const bool stopped = Eventually([&] { return !callbacks.Progress("big.bin", 1, 2); });
    library.extractResult = !stopped;
    library.lastError = 1011;
  };
  runner.Run({testing::Set("ABORT", "TRUE"), Extract("a.7z", "C:\\out", "R"), testing::Trace("next")});
  EXPECT_EQ(runner.Value("R"), "#1011");
  EXPECT_EQ(runner.Trace(), "next");
}

TEST_F(ThreadedArchiveCommandsTest, AScriptErrorWhileWaitingStopsTheWorkerFirst) {
  bool stopped = false;
  library.duringCall = [&](TArchiveCallbacks& callbacks) {
    if (library.extractCalls == 0) return;
    stopped = Eventually([&] { return !callbacks.Progress("big.bin", 1, 2); });
  };
  // PROGRESSTEXT is gone: the wait loop's first progress line is a script error.
  runner.commands.Register("Forget", [](TRunContext& run) {
    run.Store().Clear();
    run.Store().Define("ABORT", "FALSE", "Test");
  });
  runner.Run({{"Forget", {}}, Extract("a.7z", "C:\\out", "R")});
  EXPECT_NE(runner.ErrorShown().find("PROGRESSTEXT"), std::string::npos) << runner.ErrorShown();
  EXPECT_TRUE(stopped);
}

// The engine's image ends at its last section; a symbol table follows it.
std::string EngineFile() {
  const test::TBytes image = test::MiniPe(0xE0, {{0x200, 0x100}, {0x300, 0x80}});
  return std::string(image.begin(), image.end()) + "SYMBOLS";
}

constexpr const char* kEngine = "C:\\Users\\me\\kel1\\setup.exe";

TLine RunLight(std::string script, std::string result, std::string arguments = "", std::string wait = "TRUE") {
  return {"Run Light Mode Setup", {std::move(script), std::move(result), std::move(arguments), std::move(wait)}};
}

struct TLightModeBed : TCommandBed {
  explicit TLightModeBed(bool threaded = false) : TCommandBed(threaded) {
    runner.host.enginePath = kEngine;
    files.files[kEngine] = EngineFile();
    files.files["C:\\Users\\me\\kel1\\kel.dll"] = "KEL";
    files.files["C:\\light\\sub.exe"] = "CONTAINER";
  }
};

class LightModeTest : public ::testing::Test, public TLightModeBed {};

TEST_F(LightModeTest, RunsTheEngineImageWithTheScriptAndPutsEverythingBack) {
  std::map<std::string, std::string> whileRunning;
  programs.whileRunning = [&] { whileRunning = files.files; };
  programs.exitCode = 1603;
  runner.Run({testing::Set("DIR", "C:\\\\light"), RunLight("$DIR$\\\\sub.exe", "code", "/s X=1", "-1")});
  ASSERT_EQ(programs.runs.size(), 1u);
  EXPECT_EQ(programs.runs[0].file, "C:\\light\\sub.exe");
  EXPECT_EQ(programs.runs[0].parameters, "/s X=1");
  EXPECT_TRUE(programs.runs[0].wait);
  EXPECT_FALSE(programs.runs[0].hidden);
  const std::string image = EngineFile().substr(0, 0x380);
  EXPECT_EQ(whileRunning["C:\\light\\sub.exe"], image + "CONTAINER");
  EXPECT_EQ(whileRunning["C:\\light\\sub.exe.nox"], "CONTAINER");
  EXPECT_EQ(whileRunning["C:\\light\\kel.dll"], "KEL");
  EXPECT_EQ(files.files.count("C:\\light\\kel.dll"), 0u);
  EXPECT_EQ(files.files.count("C:\\light\\sub.exe.nox"), 0u);
  EXPECT_EQ(files.files.count("C:\\light\\sub.exe.to"), 0u);
  EXPECT_EQ(files.files["C:\\light\\sub.exe"], "CONTAINER");
  EXPECT_EQ(runner.Value("CODE"), "1603");
  EXPECT_FALSE(runner.engine.flags.busy);
}

TEST(LightModeProgressTest, ShowsTheScriptsProgressWhileTheSetupRuns) {
  TLightModeBed bed(true);
  bool shown = false;
  bool busy = false;
  bed.programs.whileRunning = [&] {
    shown = Eventually([&] { return bed.runner.engine.progress.Snapshot() == TProgressValues{"Installing", 0, 100, 40}; });
    busy = bed.runner.engine.flags.busy;
  };
  bed.runner.Run({testing::Set("PROGRESSTEXT", "Installing"), testing::Set("PROGRESS", "40"),
                  RunLight("C:\\light\\sub.exe", "CODE")});
  EXPECT_TRUE(shown);
  EXPECT_TRUE(busy);
  EXPECT_FALSE(bed.runner.engine.flags.busy);
  EXPECT_EQ(bed.runner.Value("CODE"), "0");
}

TEST(LightModeFailureTest, GiveMinusOneAndRunNothingHalfBuilt) {
  struct TCase {
    const char* name;
    std::function<void(TLightModeBed&)> arrange;
    std::size_t runs;
  };
  const TCase cases[] = {
      {"missing script file", [](TLightModeBed& t) { t.files.files.erase("C:\\light\\sub.exe"); }, 0},
      {"engine image unreadable", [](TLightModeBed& t) { t.files.files[kEngine] = "not a PE"; }, 0},
      {"program does not start", [](TLightModeBed& t) { t.programs.exitCode.reset(); }, 1},
  };
  for (const TCase& c : cases) {
    TLightModeBed fresh;
    c.arrange(fresh);
    fresh.runner.Run({RunLight("C:\\light\\sub.exe", "CODE"), testing::Trace("next")});
    EXPECT_EQ(fresh.runner.Value("CODE"), "-1") << c.name;
    EXPECT_EQ(fresh.programs.runs.size(), c.runs) << c.name;
    EXPECT_EQ(fresh.runner.Trace(), "next") << c.name;
    EXPECT_EQ(fresh.files.files.count("C:\\light\\sub.exe.to"), 0u) << c.name << ": nothing half-built is left";
  }
}

TEST_F(LightModeTest, AScriptBesideTheEngineLeavesItsArchiveLibraryAlone) {
  files.files["C:\\Users\\me\\kel1\\sub.exe"] = "CONTAINER";
  runner.Run({RunLight("C:\\Users\\me\\kel1\\sub.exe", "CODE", "", "FALSE")});
  EXPECT_EQ(runner.Value("CODE"), "0");
  EXPECT_FALSE(programs.runs.at(0).wait);
  EXPECT_EQ(files.files["C:\\Users\\me\\kel1\\kel.dll"], "KEL");
}

}  // namespace
}  // namespace corvane
