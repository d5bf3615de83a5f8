#include "platform/installer/tests/installer_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/fixture_paths.h"

namespace corvane {
// Readers the engine itself does not need; named namespace on purpose (see
// win_installer_api.cpp).
namespace msi_test_abi {

using TRecordGetString = UINT(WINAPI*)(unsigned long record, UINT field, LPSTR value, DWORD* valueChars);
using TSummaryInfoGetProperty = UINT(WINAPI*)(unsigned long summary, UINT property, UINT* dataType, INT* intValue,
                                              FILETIME* timeValue, LPSTR textValue, DWORD* textChars);

}  // namespace msi_test_abi

namespace test {

std::string TemporaryFolder() {
  std::string folder(GetTempPathA(0, nullptr), '\0');
  folder.resize(GetTempPathA(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

TPackageCopy::TPackageCopy(const std::string& name, const std::string& fixture) : path_(TemporaryFolder() + name) {
  const std::string source = FixturePath(fixture);
  EXPECT_TRUE(CopyFileA(source.c_str(), path_.c_str(), FALSE)) << source << " -> " << path_;
  SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TPackageCopy::~TPackageCopy() { DeleteFileA(path_.c_str()); }

std::string RecordString(TWinInstallerApi& api, TInstallerHandleValue record, unsigned field) {
  auto get = api.Library().Function<msi_test_abi::TRecordGetString>("MsiRecordGetStringA");
  DWORD chars = 0;
  char none = '\0';
  get(record, field, &none, &chars);  // asks for the length
  std::string value(chars + 1, '\0');
  chars = static_cast<DWORD>(value.size());
  EXPECT_EQ(get(record, field, value.data(), &chars), 0u);
  value.resize(chars);
  return value;
}

std::string PropertyValue(TWinInstallerApi& api, const std::string& package, const std::string& property) {
  auto database = api.OpenDatabase(package, TDatabaseOpenMode::ReadOnly);
  EXPECT_EQ(database.result, 0u);
  auto view = api.DatabaseOpenView(database.value.Get(),
                                   "SELECT `Value` FROM `Property` WHERE `Property`='" + property + "'");
  EXPECT_EQ(view.result, 0u);
  EXPECT_EQ(api.ViewExecute(view.value.Get()), 0u);
  auto row = api.ViewFetch(view.value.Get());
  std::string value = row.Succeeded() ? RecordString(api, row.value.Get(), 1) : "(no row)";
  api.ViewClose(view.value.Get());
  return value;
}

std::string SummaryString(TWinInstallerApi& api, const std::string& package, unsigned property) {
  auto database = api.OpenDatabase(package, TDatabaseOpenMode::ReadOnly);
  EXPECT_EQ(database.result, 0u);
  auto summary = api.GetSummaryInformation(database.value.Get(), 0);
  EXPECT_EQ(summary.result, 0u);
  auto get = api.Library().Function<msi_test_abi::TSummaryInfoGetProperty>("MsiSummaryInfoGetPropertyA");
  UINT type = 0;
  INT number = 0;
  FILETIME time{};
  DWORD chars = 0;
  char none = '\0';
  get(summary.value.Get(), property, &type, &number, &time, &none, &chars);  // asks for the length
  std::string value(chars + 1, '\0');
  chars = static_cast<DWORD>(value.size());
  EXPECT_EQ(get(summary.value.Get(), property, &type, &number, &time, value.data(), &chars), 0u);
  value.resize(chars);
  return value;
}

void SetRevisionNumber(TWinInstallerApi& api, const std::string& package, const std::string& code) {
  auto database = api.OpenDatabase(package, TDatabaseOpenMode::Direct);
  ASSERT_EQ(database.result, 0u);
  {
    auto summary = api.GetSummaryInformation(database.value.Get(), 1);
    ASSERT_EQ(summary.result, 0u);
    EXPECT_EQ(api.SummaryInfoSetString(summary.value.Get(), kSummaryRevisionNumber, code), 0u);
    EXPECT_EQ(api.SummaryInfoPersist(summary.value.Get()), 0u);
  }
  EXPECT_EQ(api.DatabaseCommit(database.value.Get()), 0u);
}

}  // namespace test
}  // namespace corvane
