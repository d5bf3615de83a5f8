// The work folder's files as the language choice and the translations see
// them on Windows.
#include "platform/launcher/win_text_files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace corvane {
namespace {

class WinTextFiles : public testing::Test {
protected:
  void SetUp() override {
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof(temp), temp);
    folder_ = std::string(temp) + "text-files-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "translations.Folder").c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& name : files_.FileNames(folder_)) DeleteFileA((folder_ + name).c_str());
    RemoveDirectoryA((folder_ + "translations.Folder").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  void Write(const std::string& name, const std::string& content) {
    std::ofstream(folder_ + name, std::ios::binary) << content;
  }

  std::string folder_;
  TWinTextFiles files_;
};

TEST_F(WinTextFiles, ListsFilesNotFolders) {
  Write("translations.German", "Hallo\r\n");
  Write("Product.mtx", "");
  std::vector<std::string> names = files_.FileNames(folder_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Product.mtx", "translations.German"}));
  EXPECT_TRUE(files_.FileNames(folder_ + "missing\\").empty());
}

TEST_F(WinTextFiles, ReadsWholeFilesAndTellsMissingOnesAndFolders) {
  Write("translations.German", std::string("Hallo\r\n\0zwei", 13));
  EXPECT_EQ(files_.ReadWholeFile(folder_ + "translations.German"), std::string("Hallo\r\n\0zwei", 13));
  EXPECT_EQ(files_.ReadWholeFile(folder_ + "TRANSLATIONS.german"), std::string("Hallo\r\n\0zwei", 13));
  EXPECT_EQ(files_.ReadWholeFile(folder_ + "translations.French"), std::nullopt);
  EXPECT_TRUE(files_.FileExists(folder_ + "translations.German"));
  EXPECT_FALSE(files_.FileExists(folder_ + "translations.Folder"));
  EXPECT_EQ(files_.Stamp(folder_ + "translations.Folder"), std::nullopt);
  EXPECT_EQ(files_.Stamp(folder_ + "translations.French"), std::nullopt);
}

TEST_F(WinTextFiles, StampChangesWhenTheFileIsRewritten) {
  Write("translations.German", "eins\r\n");
  const std::optional<TFileStamp> first = files_.Stamp(folder_ + "translations.German");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 6u);
  EXPECT_EQ(files_.Stamp(folder_ + "translations.German"), first);
  Sleep(20);  // past the file system's clock step
  Write("translations.German", "zwei\r\n");
  const std::optional<TFileStamp> second = files_.Stamp(folder_ + "translations.German");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->size, first->size);
  EXPECT_NE(second, first);
}

}  // namespace
}  // namespace corvane
