#include "dialogs/size_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace corvane {
namespace {

struct TSizeCase {
  std::int64_t bytes;
  const char* text;
};

void PrintTo(const TSizeCase& c, std::ostream* out) { *out << c.bytes; }

class SizeFormat : public testing::TestWithParam<TSizeCase> {};

TEST_P(SizeFormat, ScalesGroupsAndNamesTheUnit) {
  TMessageTable messages;
  EXPECT_EQ(FormatSize(GetParam().bytes, messages), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, SizeFormat,
                         testing::Values(TSizeCase{0, "0 bytes"}, TSizeCase{500, "500 bytes"},
                                         TSizeCase{1000, "1,000 bytes"}, TSizeCase{1048575, "1,048,575 bytes"},
                                         TSizeCase{1048576, "1,024 KB"}, TSizeCase{1984470, "1,937 KB"},
                                         TSizeCase{1073741823, "1,048,575 KB"}, TSizeCase{1073741824, "1,024 MB"},
                                         TSizeCase{5368709120, "5,120 MB"}, TSizeCase{-1, "-1 bytes"},
                                         TSizeCase{-5368709120, "-5,368,709,120 bytes"},
                                         TSizeCase{std::numeric_limits<std::int64_t>::max(), "8,796,093,022,207 MB"},
                                         TSizeCase{std::numeric_limits<std::int64_t>::min(),
                                                   "-9,223,372,036,854,775,808 bytes"}));

TEST(SizeFormatUnits, ComeFromTheMessageTable) {
  std::string file;
  for (int line = 1; line <= TMessageTable::kCount; ++line) {
    file += line == kMessageBytes ? "octets" : line == kMessageKilobytes ? "Ko" : line == kMessageMegabytes ? "Mo" : "";
    file += "\r\n";
  }
  TMessageTable messages;
  messages.LoadMessageFile(file);
  EXPECT_EQ(FormatSize(12, messages), "12 octets");
  EXPECT_EQ(FormatSize(2 * 1048576, messages), "2,048 Ko");
  EXPECT_EQ(FormatSize(3LL * 1073741824, messages), "3,072 Mo");
}

}  // namespace
}  // namespace corvane
