#include "media/kel/item_path.h"

#include <gtest/gtest.h>

namespace corvane::kel {
namespace {

using TParts = std::vector<std::wstring>;

TEST(SplitSafeItemPathTest, RelativePathsSplitIntoTheirParts) {
  EXPECT_EQ(SplitSafeItemPath(L"readme.txt"), TParts({L"readme.txt"}));
  EXPECT_EQ(SplitSafeItemPath(L"Plugins\\x86\\helper.dll"), TParts({L"Plugins", L"x86", L"helper.dll"}));
  EXPECT_EQ(SplitSafeItemPath(L"a/b\\c"), TParts({L"a", L"b", L"c"}));
  EXPECT_EQ(SplitSafeItemPath(L"..data\\.hidden\\icon.d\\comma,lpt.txt"),
            TParts({L"..data", L".hidden", L"icon.d", L"comma,lpt.txt"}));
  EXPECT_EQ(SplitSafeItemPath(L"COM0\\LPT10\\console"), TParts({L"COM0", L"LPT10", L"console"}));
}

TEST(SplitSafeItemPathTest, RefusesPathsThatLeaveTheDestination) {
  const std::wstring_view hostile[] = {
      L"",                     // nothing to name a file by
      L"..\\evil.dll",         // climbs out
      L"a\\..\\..\\evil.dll",  // climbs out from below
      L"a/../b",               // even when it would come back
      L"..",
      L".\\x",
      L"\\Windows\\evil.dll",  // rooted on the current drive
      L"/etc/evil",
      L"\\\\server\\share\\evil",  // UNC
      L"\\\\?\\C:\\evil",          // long-path prefix
      L"\\\\.\\PhysicalDrive0",    // device namespace
      L"C:\\evil.dll",             // drive
      L"C:evil.dll",               // drive-relative
      L"a\\C:\\evil.dll",
      L"file.txt:stream",  // alternate data stream
      L"a\\\\b",           // empty part
      L"folder\\",
      L"...\\evil",  // Windows drops the dots: ".."
      L".. \\evil",
      L"name.",
      L"name ",
      L"CON",  // devices, whatever the case, extension or folder
      L"sub\\nul.txt",
      L"Aux",
      L"prn .log",
      L"COM1",
      L"lpt9.dat",
      L"CONOUT$",
      L"a\\b<c",
      L"a|b",
      L"what?",
      L"star*",
      L"quote\"d",
      L"tab\there",
  };
  for (const std::wstring_view path : hostile) {
    EXPECT_FALSE(SplitSafeItemPath(path).has_value()) << std::string(path.begin(), path.end());
  }
}

}  // namespace
}  // namespace corvane::kel
