// kel.dll through its exports, on archives made by 7zz.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "media/kel/kel_api.h"
#include "media/kel/tests/kel_library.h"
#include "tests/support/fixture_paths.h"

namespace corvane::kel::test {
namespace {

namespace fs = std::filesystem;
using corvane::test::FixturePath;
using corvane::test::WinePathOf;

// The content folder the fixtures were made from, and what 7z lists of it.
const std::vector<std::string> kContentItems = {
    "Plugins", "Plugins\\helper.txt", "Plugins\\x86", "Plugins\\x86\\deep.txt", "empty.txt", "readme.txt"};
const std::vector<std::string> kContentFiles = {"Plugins\\helper.txt", "Plugins\\x86\\deep.txt", "empty.txt",
                                                "readme.txt"};

TKelLibrary& Kel() {
  static TKelLibrary library(ProgramFolder() + "kel.dll");
  return library;
}

std::string ReadFileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

fs::path ContentFile(const std::string& item) { return fs::path(WinePathOf(KEL_TEST_CONTENT)) / item; }

uint64_t FileTimeValue(const TKelFileTime& time) { return (uint64_t(time.highDateTime) << 32) | time.lowDateTime; }
uint64_t FileTimeValue(const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

uint64_t LastWriteTime(const fs::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return FileTimeValue(data.ftLastWriteTime);
}

// Every file below a folder, relative, sorted.
std::vector<std::string> FilesBelow(const fs::path& folder) {
  std::vector<std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct TListedItem {
  std::string path;
  TArchiveItemRecord record;
};

struct TListResult {
  bool opened = false;
  uint32_t error = 0;
  std::vector<TListedItem> items;  // sorted by path
};

// What the callbacks saw during one call; callbacks carry no context, so the
// test keeps it here and resets it before each test.
struct TCallbackLog {
  std::string password;  // what the password callback offers; empty: none
  int passwordCalls = 0;
  int32_t overwriteAnswer = KEL_OVERWRITE_YES;
  std::vector<std::string> overwriteExisting;
  std::vector<std::string> overwriteItems;
  std::vector<uint64_t> progressDone;
  std::vector<uint64_t> progressTotals;
  std::vector<std::string> progressItems;
  bool stopProgressMidway = false;
  std::vector<uint32_t> notifications;
  bool stopAtNotification = false;
};

TCallbackLog& Log() {
  static TCallbackLog log;
  return log;
}

int32_t KEL_CALL OfferPassword(char* buffer) {
  ++Log().passwordCalls;
  if (Log().password.empty()) return 0;
  std::copy(Log().password.begin(), Log().password.end(), buffer);
  buffer[Log().password.size()] = '\0';
  return 1;
}

int32_t KEL_CALL RecordProgress(const char* item, uint64_t done, uint64_t total) {
  Log().progressItems.emplace_back(item);
  Log().progressDone.push_back(done);
  Log().progressTotals.push_back(total);
  return Log().stopProgressMidway && done > 0 && done < total ? 0 : 1;
}

int32_t KEL_CALL RecordNotification(uint32_t event, uint32_t) {
  Log().notifications.push_back(event);
  return Log().stopAtNotification ? 0 : 1;
}

int32_t KEL_CALL AnswerOverwrite(const char* existingPath, uint64_t, uint64_t, const char* itemPath, uint64_t,
                                 uint64_t) {
  Log().overwriteExisting.emplace_back(existingPath);
  Log().overwriteItems.emplace_back(itemPath);
  return Log().overwriteAnswer;
}

struct TExtractCall {
  std::vector<std::string> selection = kContentItems;
  uint32_t folders = KEL_FOLDERS_KEEP;
  const char* password = "";
  TKelPasswordCallback passwordCallback = OfferPassword;
};

class KelTest : public ::testing::Test {
protected:
  void SetUp() override {
    Log() = TCallbackLog();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    destination_ = fs::temp_directory_path() / (std::string("kel-test-") + test->name());
    fs::remove_all(destination_);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(destination_, ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(destination_, ignored);
  }

  static TListResult List(const std::string& archive, const char* password = "",
                          TKelPasswordCallback callback = OfferPassword) {
    TListResult result;
    const TArchiveItemRecord* items = nullptr;
    uint32_t count = 0;
    const uintptr_t handle = Kel().openListArchive(archive.c_str(), 0, callback, 0, 0, 0, password, &items, &count);
    result.error = Kel().getLastArchiveError(0);
    if (handle == 0) return result;
    result.opened = true;
    for (uint32_t i = 0; i < count; ++i) result.items.push_back({items[i].path, items[i]});
    Kel().closeListArchive(handle);
    std::sort(result.items.begin(), result.items.end(),
              [](const TListedItem& a, const TListedItem& b) { return a.path < b.path; });
    return result;
  }

  static std::vector<std::string> Paths(const TListResult& listing) {
    std::vector<std::string> paths;
    for (const TListedItem& item : listing.items) paths.push_back(item.path);
    return paths;
  }

  // Returns the error code, 0 when ExtractArchive reported success.
  uint32_t Extract(const std::string& archive, const TExtractCall& call, const fs::path& destination) {
    std::vector<const char*> names;
    for (const std::string& name : call.selection) names.push_back(name.c_str());
    const TSZW_TARGETFILES selection = {names.data(), static_cast<uint32_t>(names.size())};
    const int32_t ok =
        Kel().extractArchive(archive.c_str(), KEL_MODE_EXTRACT, destination.string().c_str(), &selection, call.folders,
                             call.password, call.passwordCallback, RecordProgress, RecordNotification, AnswerOverwrite);
    const uint32_t error = Kel().getLastArchiveError(0);
    EXPECT_EQ(ok == 0, error != 0) << "result and error code disagree";
    return ok ? 0 : error;
  }
  uint32_t Extract(const std::string& archive, const TExtractCall& call = {}) {
    return Extract(archive, call, destination_);
  }

  void ExpectContentExtracted(const fs::path& destination) {
    EXPECT_EQ(FilesBelow(destination), kContentFiles);
    for (const std::string& file : kContentFiles) {
      EXPECT_EQ(ReadFileText(destination / file), ReadFileText(ContentFile(file))) << file;
    }
  }

  fs::path destination_;
};

TEST_F(KelTest, ListsAndExtractsArchivesOfEveryMethod) {
  struct TCase {
    const char* archive;
    const char* password;
  };
  const TCase cases[] = {{"kel_lzma.7z", ""}, {"kel_lzma2.7z", ""},     {"kel_bcj.7z", ""},
                         {"kel_bcj2.7z", ""}, {"kel_arm.7z", ""},       {"kel_swap.7z", ""},
                         {"kel_copy.7z", ""}, {"kel_aes.7z", "SECRET"}, {"kel_aes_headers.7z", "SECRET"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.archive);
    const TListResult listing = List(FixturePath(c.archive), c.password);
    ASSERT_TRUE(listing.opened) << "error " << listing.error;
    EXPECT_EQ(listing.error, 0u);
    EXPECT_EQ(Paths(listing), kContentItems);
    for (const TListedItem& item : listing.items) {
      const bool folder = item.path == "Plugins" || item.path == "Plugins\\x86";
      EXPECT_EQ((item.record.flags & KEL_ITEM_FOLDER) != 0, folder) << item.path;
      EXPECT_EQ((item.record.flags & KEL_ITEM_ENCRYPTED) != 0, *c.password && !folder && item.record.size != 0)
          << item.path;
      if (!folder) {
        EXPECT_EQ(item.record.size, fs::file_size(ContentFile(item.path))) << item.path;
      }
    }
    const fs::path into = destination_ / c.archive;
    TExtractCall call;
    call.password = c.password;
    EXPECT_EQ(Extract(FixturePath(c.archive), call, into), 0u);
    ExpectContentExtracted(into);
  }
  EXPECT_EQ(Log().passwordCalls, 0) << "a password argument needs no callback";
}

TEST_F(KelTest, RecordsCarryIndexPackedSizeDateAndAttributes) {
  const TListResult listing = List(FixturePath("kel_lzma2.7z"));
  ASSERT_TRUE(listing.opened);
  uint64_t packed = 0;
  std::vector<uint32_t> indices;
  for (const TListedItem& item : listing.items) {
    SCOPED_TRACE(item.path);
    packed += item.record.packedSize;
    indices.push_back(item.record.index);
    EXPECT_EQ((item.record.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (item.record.flags & KEL_ITEM_FOLDER) != 0);
    if (item.path == "readme.txt") {
      // 7zz keeps the time in 100 ns units, as FILETIME does.
      EXPECT_EQ(FileTimeValue(item.record.modificationTime), LastWriteTime(ContentFile(item.path)));
    }
  }
  EXPECT_GT(packed, 0u);
  EXPECT_LT(packed, fs::file_size(FixturePath("kel_lzma2.7z")));
  std::sort(indices.begin(), indices.end());
  EXPECT_EQ(indices, std::vector<uint32_t>({0, 1, 2, 3, 4, 5}));

  ASSERT_EQ(Extract(FixturePath("kel_lzma2.7z")), 0u);
  EXPECT_EQ(LastWriteTime(destination_ / "readme.txt"), LastWriteTime(ContentFile("readme.txt")));
}

TEST_F(KelTest, FolderArgumentKeepsOrFlattensTheTree) {
  TExtractCall call;
  call.folders = KEL_FOLDERS_FLAT;
  ASSERT_EQ(Extract(FixturePath("kel_lzma2.7z"), call), 0u);
  EXPECT_EQ(FilesBelow(destination_), std::vector<std::string>({"deep.txt", "empty.txt", "helper.txt", "readme.txt"}));
  EXPECT_FALSE(fs::exists(destination_ / "Plugins"));
  EXPECT_EQ(ReadFileText(destination_ / "deep.txt"), ReadFileText(ContentFile("Plugins\\x86\\deep.txt")));

  const fs::path kept = destination_ / "kept";
  call.folders = KEL_FOLDERS_KEEP;
  ASSERT_EQ(Extract(FixturePath("kel_lzma2.7z"), call, kept), 0u);
  ExpectContentExtracted(kept);

  call.folders = 2;
  EXPECT_EQ(Extract(FixturePath("kel_lzma2.7z"), call, destination_ / "other"), KEL_ERROR_INVALID_ARGUMENT);
}

TEST_F(KelTest, ExtractsOnlyTheSelectedItems) {
  TExtractCall call;
  call.selection = {"Plugins\\x86\\deep.txt", "readme.txt"};
  ASSERT_EQ(Extract(FixturePath("kel_lzma2.7z"), call), 0u);
  EXPECT_EQ(FilesBelow(destination_), call.selection);

  const fs::path other = destination_ / "other";
  call.selection = {"readme.txt", "missing.txt"};
  EXPECT_EQ(Extract(FixturePath("kel_lzma2.7z"), call, other), KEL_ERROR_NOT_IN_ARCHIVE);
  EXPECT_FALSE(fs::exists(other)) << "nothing is written when the selection is refused";
}

TEST_F(KelTest, ArchiveWithoutItemsListsEmptyAndExtractsNothing) {
  const TListResult listing = List(FixturePath("kel_empty.7z"));
  EXPECT_TRUE(listing.opened);
  EXPECT_TRUE(listing.items.empty());
  TExtractCall call;
  call.selection = {};
  EXPECT_EQ(Extract(FixturePath("kel_empty.7z"), call), 0u);
  EXPECT_TRUE(fs::is_directory(destination_));
  EXPECT_TRUE(FilesBelow(destination_).empty());
}

TEST_F(KelTest, OpenFailuresReportTheirCodes) {
  const std::string notAnArchive = ContentFile("readme.txt").string();
  struct TCase {
    std::string archive;
    const char* password;
    uint32_t code;
  };
  const TCase cases[] = {
      {"", "", KEL_ERROR_ARCHIVE_NOT_FOUND},
      {FixturePath("no-such-archive.7z"), "", KEL_ERROR_ARCHIVE_NOT_FOUND},
      {FixturePath("no-such-folder\\x.7z"), "", KEL_ERROR_ARCHIVE_NOT_FOUND},
      {FixturePath("kel_*.7z"), "", KEL_ERROR_WILDCARD_PATH},
      {FixturePath("kel_lzma?.7z"), "", KEL_ERROR_WILDCARD_PATH},
      {notAnArchive, "", KEL_ERROR_CANNOT_OPEN},
      {FixturePath("kel_aes_headers.7z"), "", KEL_ERROR_CANNOT_OPEN},
      {FixturePath("kel_aes_headers.7z"), "WRONG", KEL_ERROR_CANNOT_OPEN},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.archive + " / " + c.password);
    const TListResult listing = List(c.archive, c.password);
    EXPECT_FALSE(listing.opened);
    EXPECT_EQ(listing.error, c.code);
    TExtractCall call;
    call.password = c.password;
    EXPECT_EQ(Extract(c.archive, call), c.code);
  }
  EXPECT_FALSE(fs::exists(destination_));
  // A success clears the code of the failure before it.
  EXPECT_TRUE(List(FixturePath("kel_lzma.7z")).opened);
  EXPECT_EQ(Kel().getLastArchiveError(0), 0u);
}

TEST_F(KelTest, PasswordCallbackIsAskedOncePerCall) {
  Log().password = "SECRET";
  const TListResult listing = List(FixturePath("kel_aes_headers.7z"));
  EXPECT_TRUE(listing.opened);
  EXPECT_EQ(Log().passwordCalls, 1);

  // Opening and decoding both need it; the callback is still asked once.
  Log().passwordCalls = 0;
  EXPECT_EQ(Extract(FixturePath("kel_aes_headers.7z")), 0u);
  EXPECT_EQ(Log().passwordCalls, 1);
  ExpectContentExtracted(destination_);

  // Names of an archive with plain headers list without any password.
  Log() = TCallbackLog();
  EXPECT_TRUE(List(FixturePath("kel_aes.7z")).opened);
  EXPECT_EQ(Log().passwordCalls, 0);
}

TEST_F(KelTest, EncryptedDataWithoutTheRightPasswordIsNotWritten) {
  struct TCase {
    const char* name;
    const char* password;
    const char* offered;
    TKelPasswordCallback callback;
  };
  const TCase cases[] = {{"none, no callback", "", "", nullptr},
                         {"callback has none", "", "", OfferPassword},
                         {"wrong argument", "WRONG", "", OfferPassword},
                         {"wrong from callback", "", "WRONG", OfferPassword}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Log().password = c.offered;
    TExtractCall call;
    call.password = c.password;
    call.passwordCallback = c.callback;
    const fs::path into = destination_ / c.name;
    EXPECT_EQ(Extract(FixturePath("kel_aes.7z"), call, into), KEL_ERROR_WRONG_PASSWORD);
    // Only the empty file needs no key; nothing that does is left behind,
    // finished or not.
    for (const std::string& file : FilesBelow(into)) EXPECT_EQ(file, "empty.txt");
  }
}

TEST_F(KelTest, OverwriteAnswersDecideAboutExistingFiles) {
  struct TCase {
    const char* name;
    int32_t answer;
    uint32_t error;
    bool replaced;
    size_t questions;
  };
  const TCase cases[] = {{"no", KEL_OVERWRITE_NO, 0, false, 2},
                         {"no to all", KEL_OVERWRITE_NO_TO_ALL, 0, false, 1},
                         {"yes", KEL_OVERWRITE_YES, 0, true, 2},
                         {"yes to all", KEL_OVERWRITE_YES_TO_ALL, 0, true, 1},
                         {"unknown answer", 0, KEL_ERROR_STOPPED, false, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Log() = TCallbackLog();
    Log().overwriteAnswer = c.answer;
    const fs::path into = destination_ / c.name;
    WriteFileText(into / "readme.txt", "old readme");
    WriteFileText(into / "Plugins" / "helper.txt", "old helper");
    // Read-only files are replaced too.
    fs::permissions(into / "Plugins" / "helper.txt", fs::perms::owner_write, fs::perm_options::remove);

    EXPECT_EQ(Extract(FixturePath("kel_lzma2.7z"), {}, into), c.error);
    EXPECT_EQ(Log().overwriteExisting.size(), c.questions);
    if (!Log().overwriteItems.empty()) {
      EXPECT_TRUE(Log().overwriteItems[0] == "readme.txt" || Log().overwriteItems[0] == "Plugins\\helper.txt");
      EXPECT_EQ(Log().overwriteExisting[0], (into / Log().overwriteItems[0]).string());
    }
    if (c.error != 0) continue;
    const std::string readme = ReadFileText(into / "readme.txt");
    EXPECT_EQ(readme, c.replaced ? ReadFileText(ContentFile("readme.txt")) : "old readme");
    EXPECT_EQ(ReadFileText(into / "Plugins" / "helper.txt"),
              c.replaced ? ReadFileText(ContentFile("Plugins\\helper.txt")) : "old helper");
    EXPECT_EQ(ReadFileText(into / "Plugins" / "x86" / "deep.txt"), ReadFileText(ContentFile("Plugins\\x86\\deep.txt")));
    const auto skipped = std::count(Log().notifications.begin(), Log().notifications.end(), KEL_NOTIFY_ITEM_SKIPPED);
    EXPECT_EQ(skipped, c.replaced ? 0 : 2);
  }
}

TEST_F(KelTest, ProgressReportsTheItemAndTheAmounts) {
  TExtractCall call;
  call.selection = {"big.bin"};
  ASSERT_EQ(Extract(FixturePath("kel_big.7z"), call), 0u);
  const uint64_t size = fs::file_size(WinePathOf(KEL_TEST_BIG));
  EXPECT_TRUE(std::is_sorted(Log().progressDone.begin(), Log().progressDone.end()));
  EXPECT_GE(std::count_if(Log().progressDone.begin(), Log().progressDone.end(),
                          [&](uint64_t done) { return done > 0 && done < size; }),
            2)
      << "reported along the way, not only at the ends";
  EXPECT_EQ(Log().progressDone.back(), size);
  EXPECT_EQ(std::count(Log().progressTotals.begin(), Log().progressTotals.end(), size),
            std::ptrdiff_t(Log().progressTotals.size()));
  EXPECT_EQ(Log().progressItems.back(), "big.bin");
  EXPECT_EQ(Log().notifications, std::vector<uint32_t>({KEL_NOTIFY_ITEM_START}));
}

TEST_F(KelTest, CallbacksCanStopTheExtraction) {
  struct TCase {
    const char* name;
    bool stopProgressMidway;
    bool stopAtNotification;
  };
  const TCase cases[] = {{"progress midway", true, false}, {"notification", false, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Log() = TCallbackLog();
    Log().stopProgressMidway = c.stopProgressMidway;
    Log().stopAtNotification = c.stopAtNotification;
    TExtractCall call;
    call.selection = {"big.bin"};
    const fs::path into = destination_ / c.name;
    EXPECT_EQ(Extract(FixturePath("kel_big.7z"), call, into), KEL_ERROR_STOPPED);
    EXPECT_EQ(FilesBelow(into), std::vector<std::string>()) << "no partial file, under its name or a temporary one";
  }
}

TEST_F(KelTest, RefusesItemsThatWouldLandOutsideTheDestination) {
  const char* hostile[] = {
      "..\\evil.txt", "sub\\..\\..\\evil.txt", "\\abs\\evil.txt", "\\\\server\\share\\evil.txt", "C:\\evil.txt", "CON"};
  for (int i = 0; i < 6; ++i) {
    const std::string archive = FixturePath("kel_hostile_" + std::to_string(i) + ".7z");
    SCOPED_TRACE(hostile[i]);
    const TListResult listing = List(archive);
    ASSERT_TRUE(listing.opened) << "listing a name is harmless";
    const std::vector<std::string> paths = Paths(listing);
    EXPECT_NE(std::find(paths.begin(), paths.end(), hostile[i]), paths.end());
    for (const uint32_t folders : {KEL_FOLDERS_KEEP, KEL_FOLDERS_FLAT}) {
      TExtractCall call;
      call.selection = paths;
      call.folders = folders;
      const fs::path into = destination_ / std::to_string(i) / "into";
      EXPECT_EQ(Extract(archive, call, into), KEL_ERROR_UNSAFE_ITEM_PATH);
      EXPECT_FALSE(fs::exists(into)) << "nothing at all is written";
    }
  }
  EXPECT_TRUE(FilesBelow(destination_).empty());
  EXPECT_FALSE(fs::exists(fs::temp_directory_path() / "evil.txt"));
  EXPECT_FALSE(fs::exists("C:\\evil.txt"));
  EXPECT_FALSE(fs::exists("C:\\abs"));
}

TEST_F(KelTest, DamagedArchivesFailWithoutHalfWrittenFiles) {
  fs::create_directories(destination_);
  const std::string whole = ReadFileText(FixturePath("kel_lzma2.7z"));
  const fs::path truncated = destination_ / "truncated.7z";
  WriteFileText(truncated, whole.substr(0, whole.size() / 2));
  EXPECT_EQ(List(truncated.string()).error, KEL_ERROR_CANNOT_OPEN);
  EXPECT_EQ(Extract(truncated.string(), {}, destination_ / "from-truncated"), KEL_ERROR_CANNOT_OPEN);

  // One byte changed in the middle of the stored big file: it decodes to
  // the end, fails its checksum and must not appear.
  std::string big = ReadFileText(FixturePath("kel_big.7z"));
  big[big.size() / 2] = static_cast<char>(big[big.size() / 2] ^ 0x55);
  const fs::path corrupted = destination_ / "corrupted.7z";
  WriteFileText(corrupted, big);
  ASSERT_TRUE(List(corrupted.string()).opened);
  TExtractCall call;
  call.selection = {"big.bin"};
  const fs::path into = destination_ / "from-corrupted";
  EXPECT_EQ(Extract(corrupted.string(), call, into), KEL_ERROR_DATA);
  EXPECT_TRUE(FilesBelow(into).empty());
}

// kel.dll looks for 7-Zip's libraries in the deployed folder the registry
// names, then beside itself. A copy of kel.dll alone in a folder has only the
// registry to go by.
class KelLocationTest : public KelTest {
protected:
  static constexpr const char* kKey = "SOFTWARE\\Tessaly\\Corvane\\Seven Zip";

  void SetUp() override {
    KelTest::SetUp();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
      std::string value(4096, '\0');
      DWORD size = static_cast<DWORD>(value.size());
      if (RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) ==
          ERROR_SUCCESS) {
        saved_ = value.c_str();
      }
      RegCloseKey(key);
    }
  }
  void TearDown() override {
    if (saved_) {
      SetPath(*saved_);
    } else {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "Path");
    }
    KelTest::TearDown();
  }
  static void SetPath(const std::string& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
  }

  std::optional<std::string> saved_;
};

TEST_F(KelLocationTest, FindsTheLibrariesThroughTheRegistryValue) {
  const fs::path lonely = destination_ / "lonely";
  fs::create_directories(lonely);
  fs::copy_file(ProgramFolder() + "kel.dll", lonely / "kel-copy.dll");
  const fs::path nothingHere = destination_ / "nothing-here\\";
  fs::create_directories(nothingHere);
  {
    TKelLibrary copy((lonely / "kel-copy.dll").string());
    const std::string archive = FixturePath("kel_lzma2.7z");
    const TArchiveItemRecord* items = nullptr;
    uint32_t count = 0;
    const auto listWorks = [&] {
      const uintptr_t handle = copy.openListArchive(archive.c_str(), 0, nullptr, 0, 0, 0, "", &items, &count);
      if (handle) copy.closeListArchive(handle);
      return handle != 0 ? 0u : copy.getLastArchiveError(0);
    };
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "Path");
    EXPECT_EQ(listWorks(), KEL_ERROR_FORMAT_LIBRARY);
    SetPath(nothingHere.string());
    EXPECT_EQ(listWorks(), KEL_ERROR_FORMAT_LIBRARY);
    SetPath(ProgramFolder());
    EXPECT_EQ(listWorks(), 0u);
    // Without the trailing backslash too.
    SetPath(ProgramFolder().substr(0, ProgramFolder().size() - 1));
    EXPECT_EQ(listWorks(), 0u);

    // The library beside the test program falls back to its own folder.
    SetPath(nothingHere.string());
    EXPECT_TRUE(List(archive).opened);
  }
}

}  // namespace
}  // namespace corvane::kel::test
