#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/installer/tests/installer_test_support.h"

namespace corvane {
namespace {

using test::PropertyValue;
using test::RecordString;
using test::TPackageCopy;

// Opens a view, runs it and closes it, as package preparation does; the
// execution's result is handed back.
unsigned RunStatement(TWinInstallerApi& api, TInstallerHandleValue database, const std::string& sql) {
  auto view = api.DatabaseOpenView(database, sql);
  if (!view.Succeeded()) return view.result;
  unsigned result = api.ViewExecute(view.value.Get());
  api.ViewClose(view.value.Get());
  return result;
}

TEST(InstallerDatabase, ViewsReadChangeAndCommitPropertyRows) {
  TWinInstallerApi api;
  TPackageCopy package("corvane-binding-database.msi");
  {
    auto database = api.OpenDatabase(package.Path(), TDatabaseOpenMode::Direct);
    ASSERT_EQ(database.result, 0u);
    const TInstallerHandleValue db = database.value.Get();

    auto all = api.DatabaseOpenView(db, "SELECT `Property` FROM `Property`");
    ASSERT_EQ(all.result, 0u);
    ASSERT_EQ(api.ViewExecute(all.value.Get()), 0u);
    std::vector<std::string> names;
    TInstallerReply<TInstallerHandle> row;
    while ((row = api.ViewFetch(all.value.Get())).Succeeded()) names.push_back(RecordString(api, row.value.Get(), 1));
    EXPECT_EQ(row.result, kInstallerNoMoreItems);
    EXPECT_FALSE(row.value);
    EXPECT_NE(std::ranges::find(names, "CorvaneProbe"), names.end());
    EXPECT_NE(std::ranges::find(names, "ProductCode"), names.end());
    api.ViewClose(all.value.Get());

    // A fetched row changed in place, as component codes are renewed.
    auto probe = api.DatabaseOpenView(db, "SELECT `Value` FROM `Property` WHERE `Property`='CorvaneProbe'");
    ASSERT_EQ(probe.result, 0u);
    ASSERT_EQ(api.ViewExecute(probe.value.Get()), 0u);
    auto probeRow = api.ViewFetch(probe.value.Get());
    ASSERT_EQ(probeRow.result, 0u);
    EXPECT_EQ(api.RecordSetString(probeRow.value.Get(), 1, "after"), 0u);
    EXPECT_EQ(api.ViewModify(probe.value.Get(), TViewModifyMode::Update, probeRow.value.Get()), 0u);
    api.ViewClose(probe.value.Get());

    EXPECT_EQ(RunStatement(api, db, "INSERT INTO `Property` ( `Property` , `Value` ) VALUES ( 'CorvaneAdded' , 'one' )"),
              0u);
    EXPECT_EQ(RunStatement(api, db, "UPDATE `Property` SET `Value`='two' WHERE `Property`='CorvaneAdded'"), 0u);
    // Inserting a row that exists fails; package preparation relies on the
    // update that follows it.
    EXPECT_NE(RunStatement(api, db, "INSERT INTO `Property` ( `Property` , `Value` ) VALUES ( 'CorvaneProbe' , 'x' )"),
              0u);
    EXPECT_EQ(api.DatabaseCommit(db), 0u);
  }
  EXPECT_EQ(PropertyValue(api, package.Path(), "CorvaneProbe"), "after");
  EXPECT_EQ(PropertyValue(api, package.Path(), "CorvaneAdded"), "two");
}

TEST(InstallerDatabase, RevisionNumberIsPersistedInTheSummary) {
  TWinInstallerApi api;
  TPackageCopy package("corvane-binding-summary.msi");
  const std::string code = "{5A0E6F51-2C3B-4D7E-9F10-A1B2C3D4E5F6}";
  ASSERT_NE(test::SummaryString(api, package.Path(), kSummaryRevisionNumber), code);
  test::SetRevisionNumber(api, package.Path(), code);
  EXPECT_EQ(test::SummaryString(api, package.Path(), kSummaryRevisionNumber), code);
}

TEST(InstallerDatabase, MissingPackageIsAResultNotAHandle) {
  TWinInstallerApi api;
  auto database = api.OpenDatabase(test::TemporaryFolder() + "corvane-no-such-package.msi", TDatabaseOpenMode::Direct);
  EXPECT_NE(database.result, 0u);
  EXPECT_FALSE(database.value);
}

}  // namespace
}  // namespace corvane
