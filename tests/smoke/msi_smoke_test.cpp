// Installs the smoke package through msi.dll bound by name, the way the engine
// will, and checks the result in the prefix.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fixture_paths.h"

namespace {

constexpr const char* kProductCode = "{6A3C1F52-7B0E-4C1D-9E43-2F0D8B51C001}";
constexpr int kInstallStateDefault = 5;
constexpr int kInstallStateAbsent = 2;
constexpr int kUiLevelNoneSourceResOnly = 0x102;

class TMsi {
public:
  TMsi() {
    std::string system(MAX_PATH, '\0');
    system.resize(GetSystemDirectoryA(system.data(), MAX_PATH));
    module_ = LoadLibraryA((system + "\\msi.dll").c_str());
  }
  ~TMsi() {
    if (module_) FreeLibrary(module_);
  }
  TMsi(const TMsi&) = delete;
  TMsi& operator=(const TMsi&) = delete;

  bool Loaded() const { return module_ != nullptr; }

  template <typename F>
  F Bind(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

private:
  HMODULE module_ = nullptr;
};

using SetInternalUI = int(WINAPI*)(int, HWND*);
using InstallProduct = UINT(WINAPI*)(const char*, const char*);
using QueryProductState = int(WINAPI*)(const char*);
using ConfigureProductEx = UINT(WINAPI*)(const char*, int, int, const char*);

std::string InstallFolder() {
  char path[MAX_PATH];
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path), S_OK);
  return std::string(path) + "\\CorvaneSmoke\\";
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct TCase {
  const char* commandLine;
  bool extraExpected;
};

class MsiSmoke : public testing::TestWithParam<TCase> {};

TEST_P(MsiSmoke, InstallsConditionedComponentsAndRemovesThem) {
  TMsi msi;
  ASSERT_TRUE(msi.Loaded());
  auto setUi = msi.Bind<SetInternalUI>("MsiSetInternalUI");
  auto install = msi.Bind<InstallProduct>("MsiInstallProductA");
  auto query = msi.Bind<QueryProductState>("MsiQueryProductStateA");
  auto configure = msi.Bind<ConfigureProductEx>("MsiConfigureProductExA");
  ASSERT_TRUE(setUi && install && query && configure);

  setUi(kUiLevelNoneSourceResOnly, nullptr);
  std::string package = corvane::test::FixturePath("smoke.msi");
  ASSERT_EQ(install(package.c_str(), GetParam().commandLine), ERROR_SUCCESS) << package;

  EXPECT_EQ(query(kProductCode), kInstallStateDefault);
  EXPECT_TRUE(FileExists(InstallFolder() + "main.txt"));
  EXPECT_EQ(FileExists(InstallFolder() + "extra.txt"), GetParam().extraExpected);

  // Wine's installer evaluates component conditions on removal too, so the
  // removal gets the same properties as the install.
  ASSERT_EQ(configure(kProductCode, 0, kInstallStateAbsent, GetParam().commandLine), ERROR_SUCCESS);
  EXPECT_NE(query(kProductCode), kInstallStateDefault);
  EXPECT_FALSE(FileExists(InstallFolder() + "main.txt"));
  EXPECT_FALSE(FileExists(InstallFolder() + "extra.txt"));
}

INSTANTIATE_TEST_SUITE_P(Conditions, MsiSmoke,
                         testing::Values(TCase{"", false}, TCase{"WANT_EXTRA=1", true}));

}  // namespace
