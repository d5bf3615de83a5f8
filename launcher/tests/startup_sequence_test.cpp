#include "launcher/startup_sequence.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "launcher/message_table.h"
#include "launcher/script_container.h"
#include "launcher/tests/mini_pe.h"

namespace corvane {
namespace {

std::string AsText(const test::TBytes& bytes) { return {bytes.begin(), bytes.end()}; }
std::string Image() { return AsText(test::MiniPe(224, {{0x200, 0x200}})); }

std::string ScriptWithDialogs() {
  TContainerSections s;
  s.commandNames = {"Display Dialog", "Set Variable", "Display Dialog", "Display Dialog"};
  s.commandGuids = {"{G0}", "{G1}", "{G2}", "{G3}"};
  s.disabledMarks = {"", "", "C", ""};
  s.mediaFolders = {"", "", "", ""};
  s.parameterBlocks = {"{G3}", "Finish", "{G0}", "Welcome", "{G2}", "Hidden"};
  return TScriptContainer(s).Serialize();
}

struct TBox {
  std::string caption, text;
  bool owned;
};

class TFakeWindows : public TPreparationWindows {
public:
  explicit TFakeWindows(std::vector<std::string>& log) : log_(log) { log_.push_back("show"); }
  ~TFakeWindows() override { log_.push_back("hide"); }
  void SetProgress(int minimum, int maximum, int position) override {
    log_.push_back("progress " + std::to_string(minimum) + ".." + std::to_string(maximum) + " at " +
                   std::to_string(position));
  }
  void StepProgress() override { log_.push_back("step"); }

private:
  std::vector<std::string>& log_;
};

class TFakeHost : public TStartupHost {
public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::vector<std::string> arguments;
  std::optional<TFileVersion> commonControls = TFileVersion{6, 10, 0, 0};
  bool extractionWorks = true;
  std::vector<TBox> boxes;
  std::vector<std::string> log;

  TFileVersion EngineVersion() override { return {1, 2, 3, 4}; }
  void RestrictToFirstProcessor() override { log.push_back("affinity"); }
  std::string EnginePath() override { return "C:\\Setups\\demo.exe"; }
  std::string TemporaryFolder() override { return "C:\\Temp\\"; }
  std::vector<std::string> Arguments() override { return arguments; }
  std::string RawCommandLine() override { return "demo.exe"; }
  std::optional<TFileVersion> CommonControlsVersion() override { return commonControls; }
  std::unique_ptr<TPreparationWindows> ShowPreparation(const std::string& splash, const TMessageTable&) override {
    log.push_back("splash " + splash);
    return std::make_unique<TFakeWindows>(log);
  }
  void ShowError(const std::string& caption, const std::string& text, bool owned) override {
    boxes.push_back({caption, text, owned});
  }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  TFolderCreation CreateFolder(const std::string& path) override {
    return folders.insert(path).second ? TFolderCreation::Created : TFolderCreation::AlreadyExists;
  }
  void CopyAsNormalFile(const std::string& from, const std::string& to) override {
    files[to] = files[from];
    log.push_back("copy " + to);
  }
  bool ExtractArchive(const std::string& archive, const std::string& destination) override {
    log.push_back("extract " + archive + " to " + destination);
    return extractionWorks;
  }
  void DeleteFolderTree(const std::string& folder) override {
    folders.erase(folder);
    log.push_back("delete " + folder);
  }

  void AddCompleteSetup() {
    files["C:\\Setups\\demo.exe"] = Image() + ScriptWithDialogs();
    files["C:\\Setups\\demo.res"] = "7z";
    files["C:\\Setups\\demo.msi"] = "package";
  }
};

class TFakeDialogs : public TDialogPreloader {
public:
  std::vector<std::string> loaded;
  void Prepare(const std::string& workFolder) override { loaded.push_back("prepare " + workFolder); }
  void Load(const std::string& key, const std::string& file) override { loaded.push_back(key + " " + file); }
};

struct TStartupFixture {
  TFakeHost host;
  TMessageTable messages;
  TFakeDialogs dialogs;
  std::vector<std::string> runs;
  int scriptExitCode = 0;

  int Run() {
    TStartupSequence sequence({host, messages, dialogs, [this](const TScriptContainer& c, const TLaunchFacts& f) {
                                 runs.push_back(std::to_string(c.CommandCount()) + " commands, package " +
                                                f.packagePath + ", data " + f.dataFolder);
                                 return scriptExitCode;
                               }});
    return sequence.Run();
  }
};

TEST(StartupSequence, CompleteSetupRunsTheScriptAndRemovesTheWorkFolder) {
  TStartupFixture f;
  f.host.AddCompleteSetup();
  f.host.folders = {"C:\\Temp\\kel1\\", "C:\\Temp\\kel2\\"};
  f.scriptExitCode = 1603;
  EXPECT_EQ(f.Run(), 1603);
  ASSERT_EQ(f.runs.size(), 1u);
  EXPECT_EQ(f.runs[0], "4 commands, package C:\\Temp\\kel3\\demo.msi, data C:\\Setups\\data\\");
  EXPECT_EQ(f.host.files["C:\\Temp\\kel3\\demo.msi"], "package");
  EXPECT_TRUE(f.host.boxes.empty());
  // Dialogs in script order, keyed by command index; the disabled one skipped.
  EXPECT_EQ(f.dialogs.loaded, (std::vector<std::string>{"prepare C:\\Temp\\kel3\\", "0 C:\\Temp\\kel3\\Welcome.dfm",
                                                         "3 C:\\Temp\\kel3\\Finish.dfm"}));
  std::vector<std::string> expected{"affinity",
                                    "splash C:\\Setups\\setup.bmp",
                                    "show",
                                    "extract C:\\Setups\\demo.res to C:\\Temp\\kel3\\",
                                    "copy C:\\Temp\\kel3\\demo.msi",
                                    "progress 0..2 at 1",
                                    "step",
                                    "step",
                                    "hide",
                                    "delete C:\\Temp\\kel3\\"};
  EXPECT_EQ(f.host.log, expected);
}

TEST(StartupSequence, FailuresEndWithTheirCodesAndMessages) {
  struct Case {
    const char* name;
    void (*arrange)(TFakeHost&);
    int exitCode;
    std::string text;
    bool owned;
    bool workFolderRemoved;
  } cases[] = {
      {"old common controls", [](TFakeHost& h) { h.commonControls = TFileVersion{4, 71, 0, 0}; },
       kExitOldCommonControls,
       "Please install the common controls update from Microsoft before attempting to install this product.", false,
       false},
      {"no container", [](TFakeHost& h) { h.files["C:\\Setups\\demo.exe"] = Image(); }, kExitNoContainer,
       "For internal use only", true, false},
      {"no setup resource", [](TFakeHost& h) { h.files.erase("C:\\Setups\\demo.res"); }, kExitNoSetupResource,
       "Setup resource not found", true, false},
      {"damaged setup resource", [](TFakeHost& h) { h.extractionWorks = false; }, kExitSetupResourceDamaged,
       "Setup resource decompression failure", true, false},
      {"no package", [](TFakeHost& h) { h.files.erase("C:\\Setups\\demo.msi"); }, kExitNoPackage,
       "Setup database not found", true, false},
      {"damaged container", [](TFakeHost& h) { h.files["C:\\Setups\\demo.exe"] = Image() + "Set Variable\r\n"; },
       kExitEscapedError, "Runtime error in install: ", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStartupFixture f;
    f.host.AddCompleteSetup();
    c.arrange(f.host);
    EXPECT_EQ(f.Run(), c.exitCode);
    EXPECT_TRUE(f.runs.empty());
    ASSERT_EQ(f.host.boxes.size(), 1u);
    EXPECT_EQ(f.host.boxes[0].caption, "Corvane Wizard");
    EXPECT_EQ(f.host.boxes[0].text.substr(0, c.text.size()), c.text);
    EXPECT_EQ(f.host.boxes[0].owned, c.owned);
    bool removed = !f.host.log.empty() && f.host.log.back().rfind("delete", 0) == 0;
    EXPECT_EQ(removed, c.workFolderRemoved);
  }
}

TEST(StartupSequence, SilentRunShowsNothing) {
  TStartupFixture f;
  f.host.AddCompleteSetup();
  f.host.arguments = {"/S"};
  f.host.files.erase("C:\\Setups\\demo.msi");
  EXPECT_EQ(f.Run(), kExitNoPackage);
  EXPECT_TRUE(f.host.boxes.empty());
  for (const std::string& entry : f.host.log) EXPECT_NE(entry, "show");
}

TEST(StartupSequence, PatchAloneIsEnoughAndIsCopied) {
  TStartupFixture f;
  f.host.AddCompleteSetup();
  f.host.files.erase("C:\\Setups\\demo.msi");
  f.host.files["C:\\Setups\\demo.msp"] = "patch";
  EXPECT_EQ(f.Run(), 0);
  EXPECT_EQ(f.host.files["C:\\Temp\\kel1\\demo.msp"], "patch");
  EXPECT_EQ(f.host.files.count("C:\\Temp\\kel1\\demo.msi"), 0u);
}

TEST(StartupSequence, MessageFileAppendedToTheArchiveLibraryReplacesTheTexts) {
  TStartupFixture f;
  f.host.AddCompleteSetup();
  f.host.files.erase("C:\\Setups\\demo.res");
  std::string messages;
  for (int line = 1; line <= 115; ++line) messages += (line == 2 ? "Setup-Ressource fehlt" : "x") + std::string("\r\n");
  f.host.files["C:\\Setups\\kel.dll"] = Image() + messages;
  EXPECT_EQ(f.Run(), kExitNoSetupResource);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_EQ(f.host.boxes[0].text, "Setup-Ressource fehlt");
}

TEST(StartupSequence, FileNameParts) {
  EXPECT_EQ(FolderOf("C:\\a b\\setup.exe"), "C:\\a b\\");
  EXPECT_EQ(BaseNameOf("C:\\a b\\my.setup.exe"), "my.setup");
  EXPECT_EQ(BaseNameOf("setup"), "setup");
}

}  // namespace
}  // namespace corvane
