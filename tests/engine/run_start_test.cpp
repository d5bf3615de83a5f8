// What a setup's script sees at its first command under Wine: a first
// installation, maintenance of the installed product, an upgrade, the
// command line's values, and the resume entry a restart left behind.
#include <windows.h>
#include <msi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/engine/setup_folder.h"

namespace {

using corvane::test::FixturePath;
using corvane::test::TSetupFolder;
using corvane::test::WinePathOf;

constexpr const char* kProductCode = "{5E7A11C3-2B4D-4E6F-8A90-1C2D3E4F5A01}";
constexpr const char* kRevisionCode = "{5E7A11C3-2B4D-4E6F-8A90-1C2D3E4FB001}";
constexpr const char* kResumeName = "5E7A11C3";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kAllAsExpected = 77;

// The checks of run_start.cvscript, in its order: exit code 100 + index.
const char* const kChecked[] = {
    "TARGETDIR", "STARTMENU", "ALLUSERS", "PRODUCTCODE", "REVISIONCODE", "UNINSTALLLINK", "DATADIR",
    "NEEDSUPGRADE", "MAINTENANCE", "NEWINSTANCE", "EXEFILE", "EXEDIR", "ROOTDIR", "TITLE", "COMPANY",
    "USERNAME", "USERCOMPANY", "VERSION", "SILENT", "LOGGED", "SFXPATH", "SFXFILE", "TEMPDIR", "LANGUAGE",
    "SUPPORTDIR", "MSIFILE", "NOBRAND", "SELECTED", "WINDOWHANDLE", "PROGRESSTEXT", "PROGRESSMODE", "ABORT",
    "PROGRESS", "LASTERROR", "LICENSE", "REBOOTCOMPUTER", "RUNAPP", "WIZARD", "COMPLETE", "MINIMUM",
    "PERSONALIZED", "MODIFY", "REPAIR", "REMOVE", "ADVERTISE", "DATE", "TIME", "INSTALLED"};

std::string ShellFolder(int csidl) {
  std::string path(MAX_PATH, '\0');
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path.data());
  path.resize(path.find('\0'));
  return path;
}

std::string ParentFolder(std::string folder) {
  if (folder.ends_with('\\')) folder.pop_back();
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string ApplicationData(bool allUsers) {
  return ParentFolder(ShellFolder(allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOP)) + "Application Data\\";
}

std::string RegistryString(HKEY root, const char* key, const char* value) {
  char text[1024] = {};
  DWORD size = sizeof(text);
  if (RegGetValueA(root, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return {};
  return text;
}

bool RunValueExists(HKEY root) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const bool exists = RegQueryValueExA(key, kResumeName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return exists;
}

void WriteRunValue(HKEY root) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
  const char data[] = "C:\\old\\demo.exe /s";
  RegSetValueExA(key, kResumeName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data));
  RegCloseKey(key);
}

void CreateFolders(const std::string& path) {
  for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
}

// A setup of the product beside the test's own copy of its files, and the
// values its first command must see on this machine.
class RunStart : public testing::Test {
protected:
  void SetUp() override {
    setup.PutCompleteSetup("engine_run_start.exe");
    const bool administrator = IsUserAnAdmin();
    defaultTarget = (administrator ? ShellFolder(CSIDL_PROGRAM_FILES) + "\\" : ParentFolder(ShellFolder(CSIDL_PERSONAL))) +
                    "Run Start\\";
    expected = {
        {"TARGETDIR", defaultTarget},
        {"STARTMENU", "Run Start"},
        {"ALLUSERS", administrator ? "TRUE" : "FALSE"},
        {"PRODUCTCODE", kProductCode},
        {"REVISIONCODE", kRevisionCode},
        {"UNINSTALLLINK", ApplicationData(administrator) + kRevisionCode + "\\demo.exe"},
        {"DATADIR", setup.Path() + "data\\"},
        {"NEEDSUPGRADE", "FALSE"},
        {"MAINTENANCE", "FALSE"},
        {"NEWINSTANCE", "FALSE"},
        {"EXEFILE", setup.Path() + "demo.exe"},
        {"EXEDIR", setup.Path()},
        {"ROOTDIR", setup.Path()},
        {"TITLE", "Run Start"},
        {"COMPANY", "Corvane Test Maker"},
        {"USERNAME", RegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                    "RegisteredOwner")},
        {"USERCOMPANY", RegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                       "RegisteredOrganization")},
        {"VERSION", CORVANE_ENGINE_VERSION},
        {"SILENT", "TRUE"},
        {"LOGGED", ""},
        {"SFXPATH", ""},
        {"SFXFILE", ""},
        {"TEMPDIR", corvane::test::TempFolder()},
        {"LANGUAGE", ""},
        {"INSTALLED", "FALSE"},  // "Is MSI Setup Installed" on the product code
    };
  }
  void TearDown() override {
    if (installed) {
      MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
      MsiConfigureProductA(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    }
    if (!savedFolder.empty()) {
      DeleteFileA((savedFolder + "demo.dat").c_str());
      RemoveDirectoryA(savedFolder.c_str());
    }
  }

  void Install(const char* package) {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ASSERT_EQ(MsiInstallProductA(FixturePath(package).c_str(), ""), ERROR_SUCCESS) << package;
    installed = true;
    expected["INSTALLED"] = "TRUE";
    ASSERT_EQ(MsiQueryProductStateA(kProductCode), INSTALLSTATE_DEFAULT);
  }
  // Saved with the installed instance, in the current user's maintenance folder.
  void SaveSelections(const std::string& targetDir) {
    savedFolder = ApplicationData(false) + kRevisionCode + "\\";
    CreateFolders(savedFolder);
    std::ofstream(savedFolder + "demo.dat", std::ios::binary)
        << "ZOLT-PREDEF-COMPONENT\r\n$\r\nTRUE\r\n$\r\n" << targetDir << "\r\nFALSE\r\nKept Menu\r\nC:\\DATA\r\n";
  }

  // Runs silently with the expectations (and the extra arguments) on the
  // command line; names the first check that failed.
  std::string RunAndCheck(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"/s"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    for (const auto& [name, value] : expected) arguments.push_back("EXPECT_" + name + "=" + value);
    const corvane::test::TRunResult result = setup.Run("demo.exe", arguments);
    if (!result.started || result.timedOut) return "did not run: " + result.error;
    if (result.exitCode == kAllAsExpected) return "";
    const unsigned long check = result.exitCode - 100;
    if (result.exitCode >= 100 && check < std::size(kChecked)) {
      const auto value = expected.find(kChecked[check]);
      return std::string(kChecked[check]) + (value == expected.end() ? " is wrong" : " is not \"" + value->second + "\"");
    }
    return "exit code " + std::to_string(result.exitCode);
  }

  TSetupFolder setup;
  std::string defaultTarget;
  std::map<std::string, std::string> expected;
  bool installed = false;
  std::string savedFolder;
};

TEST_F(RunStart, FirstInstallation) { EXPECT_EQ(RunAndCheck(), ""); }

TEST_F(RunStart, SelfExtractorAndLogFromTheCommandLine) {
  expected["SFXPATH"] = "c:\\downloads\\";
  expected["SFXFILE"] = "run start setup.exe";
  expected["LOGGED"] = "c:\\logs\\run.log";
  EXPECT_EQ(RunAndCheck({"/m=C:\\Downloads\\Run Start Setup.EXE", "/l=C:\\Logs\\Run.log"}), "");
}

TEST_F(RunStart, TargetFolderFromTheCommandLine) {
  expected["TARGETDIR"] = "E:\\Chosen\\";
  EXPECT_EQ(RunAndCheck({"TARGETDIR=E:\\Chosen\\"}), "");
}

TEST_F(RunStart, SamePackageInstalledIsMaintenance) {
  Install("instance_same.msi");
  expected["MAINTENANCE"] = "TRUE";
  expected["NEWINSTANCE"] = "TRUE";
  expected["TARGETDIR"] = "";  // no saved selections: what the start put there
  EXPECT_EQ(RunAndCheck(), "");
}

TEST_F(RunStart, MaintenanceRestoresTheSavedSelectionsAndOverridesStillWin) {
  Install("instance_same.msi");
  SaveSelections("D:\\Kept\\");
  expected["MAINTENANCE"] = "TRUE";
  expected["NEWINSTANCE"] = "TRUE";
  expected["TARGETDIR"] = "D:\\Kept\\";
  expected["ALLUSERS"] = "FALSE";
  expected["STARTMENU"] = "Kept Menu";
  expected["UNINSTALLLINK"] = ApplicationData(false) + kRevisionCode + "\\demo.exe";
  EXPECT_EQ(RunAndCheck(), "");
  expected["TARGETDIR"] = "E:\\Chosen\\";
  EXPECT_EQ(RunAndCheck({"TARGETDIR=E:\\Chosen\\"}), "");
}

TEST_F(RunStart, CachedCopyBesideItsInstanceFileIsNoNewInstance) {
  Install("instance_same.msi");
  setup.Write("instance.dat", std::string(kProductCode) + "\r\n" + kRevisionCode + "\r\nRun Start Cached\r\n");
  expected["MAINTENANCE"] = "TRUE";
  expected["TARGETDIR"] = "";
  expected["TITLE"] = "Run Start Cached";
  EXPECT_EQ(RunAndCheck(), "");
}

TEST_F(RunStart, OtherPackageInstalledNeedsAnUpgrade) {
  Install("instance_other.msi");
  expected["NEEDSUPGRADE"] = "TRUE";
  expected["NEWINSTANCE"] = "TRUE";
  EXPECT_EQ(RunAndCheck(), "");
}

TEST_F(RunStart, PatchTakesTheRegisteredInstancesSelections) {
  MoveFileA((setup.Path() + "demo.msi").c_str(), (setup.Path() + "demo.msp").c_str());
  const std::string cache = ApplicationData(false) + "{5E7A11C3-0000-0000-0000-0000000CACHE}\\";
  CreateFolders(cache);
  std::ofstream(cache + "demo.dat", std::ios::binary)
      << "ZOLT-PREDEF-COMPONENT\r\n$\r\nTRUE\r\n$\r\nD:\\Patched\\\r\nFALSE\r\nPatched Menu\r\n";
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Run Start";
  const std::string uninstall = "\"" + cache + "demo.exe\" REMOVE=TRUE MODIFY=FALSE";
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "UninstallString", REG_SZ, uninstall.c_str(),
                            static_cast<DWORD>(uninstall.size() + 1)),
            ERROR_SUCCESS);
  expected["TARGETDIR"] = "D:\\Patched\\";
  expected["ALLUSERS"] = "FALSE";
  expected["STARTMENU"] = "Patched Menu";
  expected["UNINSTALLLINK"] = ApplicationData(false) + kRevisionCode + "\\demo.exe";
  EXPECT_EQ(RunAndCheck(), "");
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  DeleteFileA((cache + "demo.dat").c_str());
  RemoveDirectoryA(cache.c_str());
}

TEST_F(RunStart, PendingResumeEntryIsRemoved) {
  WriteRunValue(HKEY_CURRENT_USER);
  WriteRunValue(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(RunValueExists(HKEY_CURRENT_USER));
  EXPECT_EQ(RunAndCheck(), "");
  EXPECT_FALSE(RunValueExists(HKEY_CURRENT_USER));
  EXPECT_FALSE(RunValueExists(HKEY_LOCAL_MACHINE));
}

}  // namespace
