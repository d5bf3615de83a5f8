#include "media/codec_deployment.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

namespace corvane {
namespace {

class TFakeDeploymentHost final : public TCodecDeploymentHost {
public:
  std::map<TShellFolder, std::string> shellFolders = {{TShellFolder::LocalAppData, "C:\\Users\\me\\AppData\\Local"}};
  std::string failingFolder;
  std::string failingResource;
  bool throwOnWrite = false;

  std::vector<std::string> folders;
  std::vector<std::string> writes;
  std::vector<std::string> stored;

  std::string ShellFolder(TShellFolder kind) override { return shellFolders[kind]; }
  bool CreateFolderTree(const std::string& folder) override {
    folders.push_back(folder);
    return folder != failingFolder;
  }
  bool WriteResource(std::string_view resource, const std::string& path) override {
    if (throwOnWrite) throw std::runtime_error("no memory");
    writes.push_back(std::string(resource) + " -> " + path);
    return resource != failingResource;
  }
  void StoreCodecFolder(const std::string& folder) override { stored.push_back(folder); }
};

TEST(CodecDeploymentTest, WritesEveryLibraryThenRecordsTheFolder) {
  TFakeDeploymentHost host;
  EXPECT_TRUE(DeploySevenZipCodecs(host));
  const std::string root = "C:\\Users\\me\\AppData\\Local\\Seven Zip\\";
  EXPECT_EQ(host.folders, std::vector<std::string>({root + "Codecs", root + "Formats"}));
  EXPECT_EQ(host.writes, std::vector<std::string>({
                             "CODECAES -> " + root + "Codecs\\Aes.dll",
                             "CODEC7ZAES -> " + root + "Codecs\\7zAes.dll",
                             "CODECBRANCH -> " + root + "Codecs\\Branch.dll",
                             "CODECCOPY -> " + root + "Codecs\\Copy.dll",
                             "CODECLZMA -> " + root + "Codecs\\LZMA.dll",
                             "CODECSWAP -> " + root + "Codecs\\Swap.dll",
                             "FORMAT7Z -> " + root + "Formats\\7z.dll",
                         }));
  EXPECT_EQ(host.stored, std::vector<std::string>({root}));
}

TEST(CodecDeploymentTest, PerUserFolderFallsBackInOrder) {
  struct TCase {
    std::string local, roaming, desktop, expected;
  };
  const TCase cases[] = {
      {"C:\\L", "C:\\R", "C:\\U\\Desktop", "C:\\L\\"},
      {"", "C:\\R\\", "C:\\U\\Desktop", "C:\\R\\"},
      {"", "", "C:\\U\\Desktop", "C:\\U\\Application Data\\"},
      {"", "", "C:\\U\\Desktop\\", "C:\\U\\Application Data\\"},
      {"", "", "Desktop", ""},
      {"", "", "", ""},
  };
  for (const TCase& c : cases) {
    TFakeDeploymentHost host;
    host.shellFolders = {
        {TShellFolder::LocalAppData, c.local}, {TShellFolder::AppData, c.roaming}, {TShellFolder::Desktop, c.desktop}};
    EXPECT_EQ(PerUserDataFolder(host), c.expected) << c.local << "|" << c.roaming << "|" << c.desktop;
  }
}

TEST(CodecDeploymentTest, AFailureStopsItWithoutTheRegistryValue) {
  TFakeDeploymentHost noFolder;
  noFolder.shellFolders.clear();
  EXPECT_FALSE(DeploySevenZipCodecs(noFolder));
  EXPECT_TRUE(noFolder.folders.empty());

  TFakeDeploymentHost folderFails;
  folderFails.failingFolder = "C:\\Users\\me\\AppData\\Local\\Seven Zip\\Formats";
  EXPECT_FALSE(DeploySevenZipCodecs(folderFails));
  EXPECT_TRUE(folderFails.writes.empty());
  EXPECT_TRUE(folderFails.stored.empty());

  TFakeDeploymentHost rowFails;
  rowFails.failingResource = "CODECBRANCH";
  EXPECT_FALSE(DeploySevenZipCodecs(rowFails));
  EXPECT_EQ(rowFails.writes.size(), 3u) << "the rows after the failing one are not written";
  EXPECT_TRUE(rowFails.stored.empty());

  TFakeDeploymentHost throws;
  throws.throwOnWrite = true;
  EXPECT_FALSE(DeploySevenZipCodecs(throws));
  EXPECT_TRUE(throws.stored.empty());
}

}  // namespace
}  // namespace corvane
