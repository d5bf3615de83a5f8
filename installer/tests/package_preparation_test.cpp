#include "installer/package_preparation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "installer/tests/mock_installer_api.h"

namespace corvane {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::Return;

constexpr std::string_view kPackage = "C:\\Users\\me\\kel1\\setup.msi";

// The mock playing a package database: every call that matters is written
// to a log as one line, and every handle it gives out must come back.
class TLoggingInstaller {
public:
  TLoggingInstaller() {
    ON_CALL(api, OpenDatabase(_, _)).WillByDefault([this](const std::string& path, TDatabaseOpenMode mode) {
      log.push_back("open " + path + (mode == TDatabaseOpenMode::Direct ? " direct" : " other"));
      if (!openable) {
        return TInstallerReply<TInstallerHandle>{110, {}};
      }
      return TInstallerReply<TInstallerHandle>{0, NewHandle()};
    });
    ON_CALL(api, DatabaseOpenView(_, _)).WillByDefault([this](TInstallerHandleValue, const std::string& sql) {
      TInstallerHandle view = NewHandle();
      statements[view.Get()] = sql;
      return TInstallerReply<TInstallerHandle>{0, std::move(view)};
    });
    ON_CALL(api, ViewExecute(_)).WillByDefault([this](TInstallerHandleValue view) {
      log.push_back(statements[view]);
      return 0u;
    });
    ON_CALL(api, CreateRecord(_)).WillByDefault([this](unsigned) { return NewHandle(); });
    ON_CALL(api, RecordSetString(_, _, _))
        .WillByDefault([this](TInstallerHandleValue record, unsigned field, const std::string& value) {
          fields[record][field] = value;
          return 0u;
        });
    ON_CALL(api, ViewExecuteWithParameters(_, _))
        .WillByDefault([this](TInstallerHandleValue view, TInstallerHandleValue record) {
          std::string line = statements[view];
          for (const auto& [field, value] : fields[record]) {
            line += " [" + value + "]";
          }
          log.push_back(line);
          return failing.contains(statements[view]) ? 1627u : 0u;
        });
    ON_CALL(api, ViewFetch(_)).WillByDefault([this](TInstallerHandleValue) {
      if (rowsLeft == 0) {
        return TInstallerReply<TInstallerHandle>{kInstallerNoMoreItems, {}};
      }
      --rowsLeft;
      return TInstallerReply<TInstallerHandle>{0, NewHandle()};
    });
    ON_CALL(api, ViewModify(_, _, _))
        .WillByDefault([this](TInstallerHandleValue, TViewModifyMode, TInstallerHandleValue record) {
          log.push_back("row = " + fields[record][1]);
          return 0u;
        });
    ON_CALL(api, ViewClose(_)).WillByDefault([this](TInstallerHandleValue view) {
      closedViews.insert(view);
      return 0u;
    });
    ON_CALL(api, DatabaseCommit(_)).WillByDefault([this](TInstallerHandleValue) {
      log.push_back("commit");
      return 0u;
    });
    ON_CALL(api, GetSummaryInformation(_, _)).WillByDefault([this](TInstallerHandleValue, unsigned updateCount) {
      log.push_back("summary for " + std::to_string(updateCount));
      return TInstallerReply<TInstallerHandle>{0, NewHandle()};
    });
    ON_CALL(api, SummaryInfoSetString(_, _, _))
        .WillByDefault([this](TInstallerHandleValue, unsigned property, const std::string& value) {
          log.push_back("summary " + std::to_string(property) + " = " + value);
          return 0u;
        });
    ON_CALL(api, SummaryInfoPersist(_)).WillByDefault([this](TInstallerHandleValue) {
      log.push_back("persist");
      return 0u;
    });
    ON_CALL(api, CloseHandle(_)).WillByDefault([this](TInstallerHandleValue handle) {
      EXPECT_EQ(open.erase(handle), 1u) << "handle " << handle << " closed twice or never given out";
      return 0u;
    });
  }
  ~TLoggingInstaller() {
    EXPECT_THAT(open, IsEmpty()) << "handles left open";
    for (const auto& [view, sql] : statements) {
      EXPECT_TRUE(closedViews.contains(view)) << "view not closed: " << sql;
    }
  }

  NiceMock<test::TMockInstallerApi> api;
  std::vector<std::string> log;
  bool openable = true;
  unsigned rowsLeft = 0;          // Component rows the SELECT fetches
  std::set<std::string> failing;  // statements that fail when executed

private:
  TInstallerHandle NewHandle() {
    open.insert(++lastHandle);
    return TInstallerHandle(api, lastHandle);
  }

  TInstallerHandleValue lastHandle = 0;
  std::set<TInstallerHandleValue> open;
  std::map<TInstallerHandleValue, std::string> statements;
  std::set<TInstallerHandleValue> closedViews;
  std::map<TInstallerHandleValue, std::map<unsigned, std::string>> fields;
};

const std::string kInsert = "INSERT INTO `Property` (`Property`, `Value`) VALUES (?, ?)";
const std::string kUpdate = "UPDATE `Property` SET `Value` = ? WHERE `Property` = ?";
const std::string kOpen = "open " + std::string(kPackage) + " direct";

// "{GUID-1}", "{GUID-2}", ...
TGuidSource CountingGuids() {
  return [count = 0]() mutable { return "{GUID-" + std::to_string(++count) + "}"; };
}

TEST(PreparePackage, InsertsThenUpdatesEveryPairInQueueOrderAndDiscardsTheQueue) {
  TLoggingInstaller installer;
  installer.failing = {kInsert};  // as for properties the package has
  TPackagePropertyQueue queue = {{"AH1", "TRUE"}, {"PH1_1", "it's \"quoted\"$NEWLINE$C:\\dir\\"}, {"AH1", "FALSE"}};
  EXPECT_EQ(PreparePackage(installer.api, std::string(kPackage), queue, std::nullopt, CountingGuids()), std::nullopt);
  EXPECT_THAT(installer.log,
              ElementsAre(kOpen,                                                 //
                          kInsert + " [AH1] [TRUE]", kUpdate + " [TRUE] [AH1]",  //
                          kInsert + " [PH1_1] [it's \"quoted\"\r\nC:\\dir\\]",   //
                          kUpdate + " [it's \"quoted\"\r\nC:\\dir\\] [PH1_1]",   //
                          kInsert + " [AH1] [FALSE]", kUpdate + " [FALSE] [AH1]", "commit"));
  EXPECT_THAT(queue, IsEmpty());
}

TEST(PreparePackage, ANewInstanceGetsNewComponentCodesAndItsIdentityAtTheLastPair) {
  TLoggingInstaller installer;
  installer.rowsLeft = 2;
  TPackagePropertyQueue queue = {{"AH1", "TRUE"}, {"MSINTEMP", "C:\\Temp"}};
  const TNewInstanceCodes codes{.packageCode = "{NEW-PACKAGE}", .productCode = "{NEW-PRODUCT}"};
  EXPECT_EQ(PreparePackage(installer.api, std::string(kPackage), queue, codes, CountingGuids()), std::string(kPackage));
  EXPECT_THAT(installer.log,
              ElementsAre(kOpen, "SELECT `ComponentId` FROM `Component`", "row = {GUID-1}", "row = {GUID-2}", "commit",
                          kOpen, kInsert + " [AH1] [TRUE]", kUpdate + " [TRUE] [AH1]",  //
                          "summary for 1", "summary 9 = {NEW-PACKAGE}", "persist",
                          "UPDATE `Property` SET `Value` = ? WHERE `Property` = 'ProductCode' [{NEW-PRODUCT}]",
                          kInsert + " [MSINTEMP] [C:\\Temp]", kUpdate + " [C:\\Temp] [MSINTEMP]", "commit"));
}

TEST(PreparePackage, AnEmptyQueueWritesNothingButANewInstancesComponentCodes) {
  for (const bool newInstance : {false, true}) {
    SCOPED_TRACE(newInstance);
    TLoggingInstaller installer;
    installer.rowsLeft = 1;
    TPackagePropertyQueue queue;
    const std::optional<TNewInstanceCodes> codes =
        newInstance ? std::optional<TNewInstanceCodes>(TNewInstanceCodes{"{P}", "{Q}"}) : std::nullopt;
    EXPECT_EQ(PreparePackage(installer.api, std::string(kPackage), queue, codes, CountingGuids()), std::nullopt);
    if (newInstance) {
      EXPECT_THAT(installer.log,
                  ElementsAre(kOpen, "SELECT `ComponentId` FROM `Component`", "row = {GUID-1}", "commit"));
    } else {
      EXPECT_THAT(installer.log, IsEmpty());
    }
  }
}

TEST(PreparePackage, APackageThatCannotBeOpenedKeepsTheQueueForLater) {
  TLoggingInstaller installer;
  installer.openable = false;
  TPackagePropertyQueue queue = {{"AH1", "TRUE"}};
  EXPECT_EQ(
      PreparePackage(installer.api, std::string(kPackage), queue, TNewInstanceCodes{"{P}", "{Q}"}, CountingGuids()),
      std::nullopt);
  EXPECT_THAT(installer.log, ElementsAre(kOpen, kOpen));
  EXPECT_EQ(queue.size(), 1u);
}

TEST(PreparePackage, AFailedCommitKeepsTheQueue) {
  TLoggingInstaller installer;
  ON_CALL(installer.api, DatabaseCommit(_)).WillByDefault(Return(1627u));
  TPackagePropertyQueue queue = {{"AH1", "TRUE"}};
  PreparePackage(installer.api, std::string(kPackage), queue, std::nullopt, CountingGuids());
  EXPECT_EQ(queue.size(), 1u);
}

TEST(PackageTexts, ShortcutAndProgIdRowsTakeTheirTextsByKey) {
  TLoggingInstaller installer;
  ApplyShortcutTexts(installer.api, std::string(kPackage),
                     {{"PH1_1", "Lies m~1|Lies mich", "Öffnet 'die' Hilfe"}, {"PH2_1", "Go~1|Go", ""}});
  ApplyProgIdTexts(installer.api, std::string(kPackage), {{"$APP$.Doc", "Corvane.Doc", "Corvane's document"}});
  EXPECT_THAT(
      installer.log,
      ElementsAre(kOpen, "UPDATE `Shortcut` SET `Name` = ? WHERE `Directory_` = ? [Lies m~1|Lies mich] [PH1_1]",
                  "UPDATE `Shortcut` SET `Description` = ? WHERE `Directory_` = ? [Öffnet 'die' Hilfe] [PH1_1]",
                  "UPDATE `Shortcut` SET `Name` = ? WHERE `Directory_` = ? [Go~1|Go] [PH2_1]",
                  "UPDATE `Shortcut` SET `Description` = ? WHERE `Directory_` = ? [] [PH2_1]", "commit",  //
                  kOpen, "UPDATE `ProgId` SET `Description` = ? WHERE `ProgId` = ? [Corvane's document] [$APP$.Doc]",
                  "UPDATE `ProgId` SET `ProgId` = ? WHERE `ProgId` = ? [Corvane.Doc] [$APP$.Doc]", "commit"));
}

TEST(PreparePackageDatabase, AppliesTheTextsOnlyWithASetupLanguageThenTheQueue) {
  for (const bool languageActive : {false, true}) {
    SCOPED_TRACE(languageActive);
    TLoggingInstaller installer;
    TDeferredRecords records;
    records.Record("AH1", "TRUE");
    records.shortcutTexts.push_back({"PH1_1", "Go~1|Go", "Goes"});
    records.progIdTexts.push_back({"A.Doc", "B.Doc", "Doc"});
    PreparePackageDatabase(installer.api, std::string(kPackage), records,
                           {.languageActive = languageActive, .newGuid = CountingGuids()});
    const std::vector<std::string> queueWritten = {kOpen, kInsert + " [AH1] [TRUE]", kUpdate + " [TRUE] [AH1]",
                                                   "commit"};
    std::vector<std::string> tail(installer.log.end() - static_cast<std::ptrdiff_t>(queueWritten.size()),
                                  installer.log.end());
    EXPECT_EQ(tail, queueWritten);
    // Each text list: open, two statements, commit.
    EXPECT_EQ(installer.log.size(), languageActive ? queueWritten.size() + 8 : queueWritten.size());
    EXPECT_EQ(
        std::ranges::count(installer.log, "UPDATE `Shortcut` SET `Name` = ? WHERE `Directory_` = ? [Go~1|Go] [PH1_1]"),
        languageActive ? 1 : 0);
    EXPECT_THAT(records.packageQueue, IsEmpty());
    EXPECT_EQ(records.recordedProperties.size(), 2u);  // the recorded list stays for the property transfer
  }
}

TEST(NewRandomGuid, IsABracedUpperCaseVersionFourGuidAndNeverRepeats) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string guid = NewRandomGuid();
    ASSERT_EQ(guid.size(), 38u);
    for (std::size_t at = 0; at < guid.size(); ++at) {
      const char c = guid[at];
      if (at == 0 || at == 37) {
        EXPECT_EQ(c, at == 0 ? '{' : '}') << guid;
      } else if (at == 9 || at == 14 || at == 19 || at == 24) {
        EXPECT_EQ(c, '-') << guid;
      } else {
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << guid;
      }
    }
    EXPECT_EQ(guid[15], '4') << guid;
    EXPECT_NE(std::string_view("89AB").find(guid[20]), std::string_view::npos) << guid;
    EXPECT_TRUE(seen.insert(guid).second);
  }
}

}  // namespace
}  // namespace corvane
