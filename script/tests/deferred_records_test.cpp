#include "script/deferred_records.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "script/tests/script_fixture.h"

namespace corvane {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

TEST(EncodeNewlines, OnlyCrLfPairsBecomeTheMarker) {
  EXPECT_EQ(EncodeNewlines("a\r\nb"), "a$NEWLINE$b");
  EXPECT_EQ(EncodeNewlines("a\nb\rc\r\n"), "a\nb\rc$NEWLINE$");
  EXPECT_EQ(EncodeNewlines("\r\r\n"), "\r$NEWLINE$");
  EXPECT_EQ(EncodeNewlines(""), "");
}

TEST(DeferredRecords, ARecordedPairIsQueuedAndListedEncodedAndRepeatsStay) {
  TDeferredRecords records;
  records.Record("PX_1", "one\r\ntwo");
  records.Record("PX_1", "three");
  EXPECT_THAT(records.packageQueue, ElementsAre(Pair("PX_1", "one$NEWLINE$two"), Pair("PX_1", "three")));
  EXPECT_THAT(records.recordedProperties, ElementsAre("PX_1", "one$NEWLINE$two", "PX_1", "three"));
}

TEST(DeferredRecords, InitialActivationsCoverEveryLineWithAHeaderOnly) {
  TContainerSections sections = testing::MakeSections({{"Write Registry", {}}, {"Set Variable", {}}, {"Create Folder", {}}});
  sections.headerTable = {"HEADERZERO", "0", "HEADERTWO", "2"};
  const TScriptContainer container(std::move(sections));
  TDeferredRecords records;
  records.RecordInitialActivations(container);
  EXPECT_THAT(records.recordedProperties, ElementsAre("AHEADERZERO", "FALSE", "AHEADERTWO", "FALSE"));
  EXPECT_EQ(records.packageQueue.size(), 2u);
}

}  // namespace
}  // namespace corvane
