// A script compiled by the authoring tool runs its deferred commands; the
// records then go into a copy of a real package through msi.dll, and the
// package, opened again, shows what the installer will see.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "actions/deferred_changes.h"
#include "actions/unavailable_media_step.h"
#include "installer/package_preparation.h"
#include "platform/installer/tests/installer_test_support.h"
#include "script/tests/script_fixture.h"
#include "tests/support/fixture_paths.h"

namespace corvane {
namespace {

using test::PropertyValue;
using test::TPackageCopy;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kPackageFixture = "deferred_package.msi";
constexpr const char* kOriginalProductCode = "{3D0C4B8E-62A1-4F1B-9C2D-5E6F7A8B9C01}";
const std::set<std::string> kOriginalComponentCodes = {"{3D0C4B8E-62A1-4F1B-9C2D-5E6F7A8B9C04}",
                                                       "{3D0C4B8E-62A1-4F1B-9C2D-5E6F7A8B9C05}"};

// Runs the compiled script and keeps what it recorded.
class TDeferredScriptRun {
public:
  TDeferredScriptRun() {
    RegisterCoreCommands(commands_);
    RegisterDeferredChangeCommands(commands_, media_);
    std::ifstream file(test::FixturePath("deferred_changes.bin"), std::ios::binary);
    EXPECT_TRUE(file) << "script fixture missing";
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const TScriptContainer container = TScriptContainer::Parse(bytes);
    TInterpreter interpreter(engine, host_, commands_, {.initialiser = initialiser_});
    interpreter.Run(container, testing::kTestPackagePath);
    EXPECT_THAT(host_.boxes, IsEmpty()) << host_.boxes.front().text;
  }

  TEngineContext engine{TStartOptions{}};

private:
  testing::TFakeHost host_;
  TCommandTable commands_;
  TUnavailableMediaStep media_;
  testing::TFakeSetupSystem system_;
  testing::TFakeProductStart product_;
  // The run's start records every line with a header inactive first.
  TSetupInit initialiser_{{.system = system_, .product = product_}};
};

// Every row of a query, fields 1 to fieldCount, from a database opened read-only.
std::vector<std::vector<std::string>> Rows(TWinInstallerApi& api, const std::string& package, const std::string& sql,
                                           unsigned fieldCount) {
  auto database = api.OpenDatabase(package, TDatabaseOpenMode::ReadOnly);
  EXPECT_EQ(database.result, 0u) << package;
  auto view = api.DatabaseOpenView(database.value.Get(), sql);
  EXPECT_EQ(view.result, 0u) << sql;
  EXPECT_EQ(api.ViewExecute(view.value.Get()), 0u) << sql;
  std::vector<std::vector<std::string>> rows;
  for (auto row = api.ViewFetch(view.value.Get()); row.Succeeded(); row = api.ViewFetch(view.value.Get())) {
    std::vector<std::string>& fields = rows.emplace_back();
    for (unsigned field = 1; field <= fieldCount; ++field) {
      fields.push_back(test::RecordString(api, row.value.Get(), field));
    }
  }
  api.ViewClose(view.value.Get());
  return rows;
}

std::set<std::string> ComponentCodes(TWinInstallerApi& api, const std::string& package) {
  std::set<std::string> codes;
  for (const auto& row : Rows(api, package, "SELECT `ComponentId` FROM `Component`", 1)) {
    codes.insert(row[0]);
  }
  return codes;
}

TEST(PreparedPackage, RecordsTheScriptReachedAndHoldsTheLastValueOfEachProperty) {
  TDeferredScriptRun run;
  const std::string craftedValue = "hijacked' WHERE `Property`='CORVANEKEPT";
  EXPECT_THAT(run.engine.deferred.recordedProperties,
              ElementsAre("AINSTALLFILES0", "FALSE", "ASKIPPEDREGISTRY0", "FALSE", "AREGISTRY0", "FALSE",
                          "ASHORTCUT0", "FALSE", "AFILETYPE0", "FALSE",  //
                          "AINSTALLFILES0", "TRUE", "PINSTALLFILES0_1", "C:\\First\\bin",  //
                          "AINSTALLFILES0", "TRUE", "PINSTALLFILES0_1", "C:\\Second\\bin",  //
                          "AREGISTRY0", "TRUE", "PREGISTRY0_1", "Software\\Corvane's \"Key\"", "PREGISTRY0_2",
                          "first line$NEWLINE$second line", "PREGISTRY0_3", craftedValue,  //
                          "ASHORTCUT0", "TRUE", "PSHORTCUT0_1", "C:\\Second\\Shortcuts", "PSHORTCUT0_2",
                          "C:\\Second\\bin\\Corvane.exe", "PSHORTCUT0_3", "", "PSHORTCUT0_4", "",  //
                          "AFILETYPE0", "TRUE"));

  TWinInstallerApi api;
  TPackageCopy package("corvane-prepared-properties.msi", kPackageFixture);
  const std::string packageCode = test::SummaryString(api, package.Path(), kSummaryRevisionNumber);
  EXPECT_EQ(PreparePackageDatabase(api, package.Path(), run.engine.deferred, {}), std::nullopt);
  EXPECT_THAT(run.engine.deferred.packageQueue, IsEmpty());

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"AREGISTRY0", "TRUE"},                                  // in the package before, changed
      {"PREGISTRY0_1", "Software\\Corvane's \"Key\""},         // in the package before, quotes intact
      {"PREGISTRY0_2", "first line\r\nsecond line"},           // the line break as CR LF
      {"PREGISTRY0_3", craftedValue},                          // a value, not a statement
      {"CORVANEKEPT", "before"},                               // which no value rewrites
      {"AINSTALLFILES0", "TRUE"},                              // new
      {"PINSTALLFILES0_1", "C:\\Second\\bin"},                 // reached twice: the later value
      {"ASKIPPEDREGISTRY0", "FALSE"},                          // in a branch not taken
      {"ASHORTCUT0", "TRUE"},
      {"PSHORTCUT0_1", "C:\\Second\\Shortcuts"},
      {"AFILETYPE0", "TRUE"},
      {"ProductCode", kOriginalProductCode},
  };
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(PropertyValue(api, package.Path(), name), value) << name;
  }
  // Without a setup language the texts stay as the package has them.
  EXPECT_THAT(Rows(api, package.Path(), "SELECT `Name`, `Description` FROM `Shortcut`", 2),
              ElementsAre(ElementsAre("Placeholder", "placeholder")));
  EXPECT_EQ(ComponentCodes(api, package.Path()), kOriginalComponentCodes);
  EXPECT_EQ(test::SummaryString(api, package.Path(), kSummaryRevisionNumber), packageCode);
}

TEST(PreparedPackage, ASetupLanguageGivesShortcutsAndProgIdsTheirTexts) {
  TDeferredScriptRun run;
  TWinInstallerApi api;
  TPackageCopy package("corvane-prepared-texts.msi", kPackageFixture);
  PreparePackageDatabase(api, package.Path(), run.engine.deferred, {.languageActive = true});
  EXPECT_THAT(Rows(api, package.Path(), "SELECT `Directory_`, `Name`, `Description` FROM `Shortcut`", 3),
              ElementsAre(ElementsAre("PSHORTCUT0_1", "Read M~1|Read Me First", "Opens Corvane's notes")));
  // The installer refuses to change a primary key by UPDATE, so the row
  // keeps the key the package's Extension rows refer to.
  EXPECT_THAT(Rows(api, package.Path(), "SELECT `ProgId`, `Description` FROM `ProgId`", 2),
              ElementsAre(ElementsAre("$APP$.Document", "Corvane document")));
}

TEST(PreparedPackage, ANewInstanceGetsFreshIdentityCodesOncePerPreparation) {
  TWinInstallerApi api;
  TPackageCopy package("corvane-prepared-instance.msi", kPackageFixture);
  const TNewInstanceCodes codes{.packageCode = "{6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8}",
                                .productCode = "{0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9}"};
  TDeferredRecords records;
  records.Record("AINSTALLFILES0", "TRUE");
  records.Record("MSINTEMP", "C:\\Temp\\");
  int guidsMade = 0;
  const TGuidSource countingGuids = [&guidsMade] {
    ++guidsMade;
    return NewRandomGuid();
  };
  EXPECT_EQ(PreparePackageDatabase(api, package.Path(), records, {.newInstance = codes, .newGuid = countingGuids}),
            package.Path());
  EXPECT_EQ(PropertyValue(api, package.Path(), "ProductCode"), codes.productCode);
  EXPECT_EQ(test::SummaryString(api, package.Path(), kSummaryRevisionNumber), codes.packageCode);
  EXPECT_EQ(PropertyValue(api, package.Path(), "MSINTEMP"), "C:\\Temp\\");
  const std::set<std::string> renewed = ComponentCodes(api, package.Path());
  EXPECT_EQ(guidsMade, 2);  // once per component
  EXPECT_EQ(renewed.size(), 2u);
  for (const std::string& code : renewed) {
    EXPECT_FALSE(kOriginalComponentCodes.contains(code)) << code;
  }

  // The next preparation of the same run renews them again.
  records.Record("AINSTALLFILES0", "FALSE");
  PreparePackageDatabase(api, package.Path(), records, {.newInstance = codes});
  const std::set<std::string> again = ComponentCodes(api, package.Path());
  EXPECT_EQ(again.size(), 2u);
  for (const std::string& code : again) {
    EXPECT_FALSE(renewed.contains(code)) << code;
  }
  EXPECT_EQ(PropertyValue(api, package.Path(), "AINSTALLFILES0"), "FALSE");
}

TEST(PreparedPackage, AnEmptyLastValueLeavesThePropertyEmpty) {
  TWinInstallerApi api;
  TPackageCopy package("corvane-prepared-empty.msi", kPackageFixture);
  TDeferredRecords records;
  records.Record("PREGISTRY0_1", "");  // a default in the package
  records.Record("PNEW0_1", "first");
  records.Record("PNEW0_1", "");
  records.Record("PNEVER0_1", "");
  PreparePackageDatabase(api, package.Path(), records, {});
  // An empty value and a missing row are the same to the installer: the
  // insert of an empty value fails, the update of an existing row empties it.
  EXPECT_EQ(PropertyValue(api, package.Path(), "PREGISTRY0_1"), "");
  EXPECT_EQ(PropertyValue(api, package.Path(), "PNEW0_1"), "");
  EXPECT_EQ(PropertyValue(api, package.Path(), "PNEVER0_1"), "(no row)");
  EXPECT_EQ(PropertyValue(api, package.Path(), "CORVANEKEPT"), "before");
}

TEST(PreparedPackage, APackageThatCannotBeOpenedIsNoErrorAndKeepsTheQueue) {
  TWinInstallerApi api;
  TDeferredRecords records;
  records.Record("AINSTALLFILES0", "TRUE");
  EXPECT_EQ(PreparePackageDatabase(api, test::TemporaryFolder() + "corvane-no-such-package.msi", records,
                                   {.languageActive = true}),
            std::nullopt);
  EXPECT_EQ(records.packageQueue.size(), 1u);
}

}  // namespace
}  // namespace corvane
