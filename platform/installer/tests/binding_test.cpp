#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/installer/late_bound_library.h"
#include "platform/installer/win_installer_api.h"

namespace corvane {
namespace {

std::string ModulePath(HMODULE module) {
  std::string path(MAX_PATH, '\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()))) == path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  return path;
}

TEST(InstallerBinding, MissingFunctionOrLibraryRaisesTheExactTexts) {
  TWinInstallerApi api;
  try {
    api.Library().Address("MsiCorvaneNoSuchFunction");
    FAIL() << "no error raised";
  } catch (const TInstallerBindError& error) {
    EXPECT_STREQ(error.what(), "Function not found: msi.dll.MsiCorvaneNoSuchFunction");
  }

  TLateBoundLibrary missing("corvane-no-such-library.dll");
  for (int attempt = 0; attempt < 2; ++attempt) {  // a failed load is tried again, and fails again
    try {
      missing.Address("MsiCloseHandle");
      FAIL() << "no error raised";
    } catch (const TInstallerBindError& error) {
      EXPECT_STREQ(error.what(), "Library not found: corvane-no-such-library.dll");
    }
  }
}

TEST(InstallerBinding, BindsTheSystemFoldersLibraryOnceAndKeepsTheAddress) {
  TWinInstallerApi api;
  void* first = api.Library().Address("MsiCloseHandle");
  HMODULE module = GetModuleHandleA(SystemLibraryPath("msi.dll").c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(first, reinterpret_cast<void*>(GetProcAddress(module, "MsiCloseHandle")));
  EXPECT_EQ(api.Library().Address("MsiCloseHandle"), first);
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, ModulePath(module).c_str(), -1,
                           SystemLibraryPath("msi.dll").c_str(), -1),
            CSTR_EQUAL)
      << ModulePath(module);
}

}  // namespace
}  // namespace corvane
