// The machine's answers at the start of a run, from Windows itself.
#include "platform/launcher/windows_setup_system.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>

namespace corvane {
namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kProbeKey = "SOFTWARE\\Corvane\\SetupSystemTest";

TLaunchFacts Facts() {
  TLaunchFacts facts;
  facts.temporaryFolder = "C:\\temp\\";
  facts.engineVersion = {1, 2, 3, 4};
  return facts;
}

TEST(WindowsSetupSystem, StartUpFactsAndTheFamily) {
  TWindowsSetupSystem system(Facts());
  EXPECT_EQ(system.TemporaryFolder(), "C:\\temp\\");
  EXPECT_EQ(system.EngineVersion(), "1.2.3.4");
  EXPECT_TRUE(system.IsNtFamily());
  EXPECT_EQ(system.IsAdministrator(), static_cast<bool>(IsUserAnAdmin()));
}

TEST(WindowsSetupSystem, ShellFoldersWithoutTrailingBackslash) {
  TWindowsSetupSystem system(Facts());
  for (TShellFolder folder : {TShellFolder::Desktop, TShellFolder::CommonDesktop, TShellFolder::ProgramFiles,
                              TShellFolder::CommonProgramFiles, TShellFolder::Documents}) {
    const std::string path = system.ShellFolder(folder);
    EXPECT_GT(path.size(), 3u);
    EXPECT_EQ(path.find('\0'), std::string::npos);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  }
}

TEST(WindowsSetupSystem, RegistryStringsAndTheRunValue) {
  TWindowsSetupSystem system(Facts());
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kProbeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char text[] = "\"C:\\a b\\setup.exe\" REMOVE=TRUE";
  RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
  const DWORD number = 7;
  RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  RegCloseKey(key);
  EXPECT_EQ(system.ReadRegistryString(TRegistryRoot::CurrentUser, kProbeKey, "UninstallString"), text);
  EXPECT_EQ(system.ReadRegistryString(TRegistryRoot::CurrentUser, kProbeKey, "Number"), std::nullopt);
  EXPECT_EQ(system.ReadRegistryString(TRegistryRoot::CurrentUser, kProbeKey, "Missing"), std::nullopt);
  EXPECT_EQ(system.ReadRegistryString(TRegistryRoot::LocalMachine, kProbeKey, "UninstallString"), std::nullopt);
  RegDeleteKeyA(HKEY_CURRENT_USER, kProbeKey);

  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "ABCD1234", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  system.DeleteRunValue(TRegistryRoot::CurrentUser, "ABCD1234");
  system.DeleteRunValue(TRegistryRoot::LocalMachine, "ABCD1234");  // nothing there: no harm
  EXPECT_NE(RegQueryValueExA(key, "ABCD1234", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST(WindowsSetupSystem, FilesTextAndGuids) {
  TWindowsSetupSystem system(Facts());
  char folder[MAX_PATH + 1] = {};
  GetTempPathA(sizeof(folder), folder);
  const std::string path = std::string(folder) + "corvane-setup-system.txt";
  std::ofstream(path, std::ios::binary) << "a\r\nb";
  EXPECT_TRUE(system.FileExists(path));
  EXPECT_FALSE(system.FileExists(folder));  // a folder is no file
  EXPECT_EQ(system.ReadTextFile(path), "a\r\nb");
  DeleteFileA(path.c_str());
  EXPECT_FALSE(system.FileExists(path));
  EXPECT_EQ(system.ReadTextFile(path), std::nullopt);

  EXPECT_EQ(system.LowerCase("C:\\Setup \xC4.EXE"), "c:\\setup \xE4.exe");

  const std::string guid = system.NewGuid();
  ASSERT_EQ(guid.size(), 38u);
  EXPECT_EQ(guid.front(), '{');
  EXPECT_EQ(guid.back(), '}');
  for (std::size_t dash : {9u, 14u, 19u, 24u}) EXPECT_EQ(guid[dash], '-') << guid;
  EXPECT_EQ(guid.find_first_not_of("{}-0123456789ABCDEF"), std::string::npos) << guid;
  EXPECT_NE(system.NewGuid(), guid);
}

}  // namespace
}  // namespace corvane
