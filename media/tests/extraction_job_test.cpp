#include "media/extraction_job.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvane {
namespace {

TEST(ExtractionPercentTest, CountsFromOneAndEndsAtOneHundred) {
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  struct TCase {
    uint64_t done;
    uint64_t total;
    int32_t percent;
  };
  const TCase cases[] = {
      {0, 100, 1},
      {50, 100, 51},
      {98, 100, 99},
      {99, 100, 100},
      {100, 100, 100},  // the bare formula would give 101
      {150, 100, 100},  // more than announced
      {0, 0, 100},
      {7, 0, 100},  // nothing to extract: done
      {1, 3, 34},
      {uint64_t(1) << 62, uint64_t(1) << 63, 51},  // large sizes stay in range
      {kMax / 2, kMax, 51},                        // done × 100 would overflow 64 bits
      {kMax - 1, kMax, 100},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ExtractionPercent(c.done, c.total), c.percent) << c.done << "/" << c.total;
  }
}

TEST(ExtractionProgressLineTest, ShowsTheFileNameAndThePercent) {
  EXPECT_EQ(ExtractionProgressLine("Plugins\\x86\\deep.txt", 42, "% complete"), "deep.txt, 42% complete");
  EXPECT_EQ(ExtractionProgressLine("dialogs/welcome.dfm", 7, "% fertig"), "welcome.dfm, 7% fertig");
  EXPECT_EQ(ExtractionProgressLine("readme.txt", 100, "% complete"), "readme.txt, 100% complete");
  EXPECT_EQ(ExtractionProgressLine("", 1, "% complete"), ", 1% complete");
}

TEST(ExtractionJobTest, ProgressIsPublishedAndWakesTheInterpreter) {
  int wakes = 0;
  TExtractionRequest request;
  request.archivePath = "a.7z";
  TExtractionJob job(
      request, [&] { ++wakes; }, "% complete");
  EXPECT_EQ(job.Progress().percent, 0);
  EXPECT_EQ(job.Progress().line, "");

  EXPECT_TRUE(job.ReportProgress("Plugins\\helper.dll", 1, 4));
  EXPECT_EQ(job.Progress().percent, 26);
  EXPECT_EQ(job.Progress().line, "helper.dll, 26% complete");
  EXPECT_EQ(wakes, 1);

  // A cancel makes every later progress call stop the library, and still wakes.
  job.SetCancelRequest(true);
  EXPECT_FALSE(job.ReportProgress("readme.txt", 2, 4));
  EXPECT_EQ(job.Progress().line, "readme.txt, 51% complete");
  EXPECT_EQ(wakes, 2);

  EXPECT_FALSE(job.Done());
  job.Finish(false, "#1011");
  EXPECT_TRUE(job.Done());
  EXPECT_FALSE(job.Succeeded());
  EXPECT_EQ(job.ErrorText(), "#1011");
  EXPECT_EQ(wakes, 3);
  EXPECT_EQ(job.Request().archivePath, "a.7z");
}

TEST(ExtractionJobTest, WorksWithoutAWakeWindow) {
  TExtractionJob job({}, nullptr, "% complete");
  EXPECT_TRUE(job.ReportProgress("a", 0, 0));
  EXPECT_EQ(job.Progress().percent, 100);
  job.Finish(true, "");
  EXPECT_TRUE(job.Succeeded());
}

}  // namespace
}  // namespace corvane
