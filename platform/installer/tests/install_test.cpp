#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>

#include "platform/installer/tests/installer_test_support.h"

namespace corvane {
// Named namespace on purpose (see win_installer_api.cpp).
namespace msi_test_abi {
using TConfigureProductEx = UINT(WINAPI*)(LPCSTR product, int installLevel, int installState, LPCSTR commandLine);
}  // namespace msi_test_abi

namespace {

using test::kBindingProductCode;
using test::TPackageCopy;

constexpr std::uint32_t kMessageKindInfo = 0x04000000;
constexpr std::uint32_t kMessageKindActionStart = 0x08000000;
constexpr std::uint32_t kMessageKindProgress = 0x0A000000;
constexpr std::uint32_t kMessageKindMask = 0xFF000000;

std::string InstalledFile() {
  std::string folder(MAX_PATH, '\0');
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder.data()), S_OK);
  folder.resize(folder.find('\0'));
  return folder + "\\CorvaneBinding\\payload.txt";
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class InstallerInstall : public testing::Test {
protected:
  // A failed test must not leave the product behind for the next one.
  void TearDown() override {
    if (api_.QueryProductState(kBindingProductCode) != kInstallStateDefault) return;
    constexpr int kInstallLevelDefault = 0;
    constexpr int kInstallStateAbsent = 2;
    api_.Library().Function<msi_test_abi::TConfigureProductEx>("MsiConfigureProductExA")(
        kBindingProductCode, kInstallLevelDefault, kInstallStateAbsent, "");
  }

  TWinInstallerApi api_;
};

TEST_F(InstallerInstall, UnknownProductIsNotInstalledAndHasNoPackageCode) {
  const std::string unknown = "{2B7C1D4E-0000-4F3A-8E21-C0C0C0C0C0C0}";
  EXPECT_NE(api_.QueryProductState(unknown), kInstallStateDefault);
  EXPECT_NE(api_.GetProductInfo(unknown, "PackageCode").result, 0u);
}

TEST_F(InstallerInstall, PerUserInstallReportsItselfToTheHandlerAndIsRemovedThroughItsPackage) {
  TPackageCopy package("corvane-binding-install.msi");
  const std::string packageCode = "{3C4D5E6F-7081-4293-A4B5-C6D7E8F90A1B}";
  test::SetRevisionNumber(api_, package.Path(), packageCode);
  const std::string log = test::TemporaryFolder() + "corvane-binding-install.log";
  DeleteFileA(log.c_str());

  std::mutex mutex;
  std::set<std::uint32_t> kinds;
  api_.SetInternalUI(kUiLevelNoneSourceResOnly);
  api_.SetExternalUI(
      [&](std::uint32_t type, std::string_view) {
        std::lock_guard lock(mutex);
        kinds.insert(type & kMessageKindMask);
        return 1;
      },
      kMessageFilterAllButFilesInUse);
  EXPECT_EQ(api_.EnableLog(kLogModeAllButFilesInUse, log, kLogAppendAndFlushEachLine), 0u);

  ASSERT_EQ(api_.InstallProduct(package.Path(), "CORVANE_FROM=binding"), 0u);
  EXPECT_EQ(api_.QueryProductState(kBindingProductCode), kInstallStateDefault);
  EXPECT_TRUE(FileExists(InstalledFile())) << InstalledFile();
  auto info = api_.GetProductInfo(kBindingProductCode, "PackageCode");
  EXPECT_EQ(info.result, 0u);
  EXPECT_EQ(info.value, packageCode);
  {
    std::lock_guard lock(mutex);
    EXPECT_TRUE(kinds.contains(kMessageKindInfo));
    EXPECT_TRUE(kinds.contains(kMessageKindActionStart));
    EXPECT_TRUE(kinds.contains(kMessageKindProgress));
  }
  WIN32_FILE_ATTRIBUTE_DATA logData{};
  EXPECT_TRUE(GetFileAttributesExA(log.c_str(), GetFileExInfoStandard, &logData)) << log;
  EXPECT_GT(logData.nFileSizeLow, 0u);

  // Removal the way the engine removes: properties on the open package, then INSTALL.
  {
    auto install = api_.OpenPackage(package.Path());
    ASSERT_EQ(install.result, 0u);
    const TInstallerHandleValue handle = install.value.Get();
    EXPECT_EQ(api_.SetProperty(handle, "ALLUSERS", ""), 0u);
    EXPECT_EQ(api_.SetProperty(handle, "REMOVE", "ALL"), 0u);
    EXPECT_EQ(api_.SetProperty(handle, "REBOOT", "R"), 0u);
    EXPECT_EQ(api_.DoAction(handle, "INSTALL"), 0u);
    EXPECT_FALSE(api_.GetMode(handle, TRunMode::RebootAtEnd));
    EXPECT_FALSE(api_.GetMode(handle, TRunMode::RebootNow));
  }
  EXPECT_NE(api_.QueryProductState(kBindingProductCode), kInstallStateDefault);
  EXPECT_FALSE(FileExists(InstalledFile()));

  api_.SetExternalUI(nullptr, 0);
  api_.EnableLog(0, "", 0);
  DeleteFileA(log.c_str());
}

}  // namespace
}  // namespace corvane
