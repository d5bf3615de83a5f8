// The codec deployment for real: the libraries this test program carries as
// resources land in the per-user Seven Zip folder, where kel.dll finds them.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/codec_deployment.h"
#include "media/kel/kel_api.h"
#include "platform/media/codec_deployment_host.h"
#include "tests/support/fixture_paths.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::string ReadFileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path SevenZipFolder() {
  std::string folder(MAX_PATH, '\0');
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder.data());
  return fs::path(folder.c_str()) / "Seven Zip";
}

std::string RegisteredFolder() {
  std::string value(4096, '\0');
  DWORD size = static_cast<DWORD>(value.size());
  if (RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaly\\Corvane\\Seven Zip", "Path", RRF_RT_REG_SZ, nullptr,
                   value.data(), &size) != ERROR_SUCCESS) {
    return {};
  }
  return value.c_str();
}

TEST(CodecDeploymentTest, WritesTheCarriedLibrariesAndRecordsTheirFolder) {
  DeploySevenZipCodecsAtStart();
  const fs::path folder = SevenZipFolder();
  const fs::path built = corvane::test::WinePathOf(KEL_TEST_7ZIP_LIBRARIES);
  for (const TCodecFile& row : kCodecFiles) {
    SCOPED_TRACE(std::string(row.resource));
    const std::string deployed = ReadFileText(folder / std::string(row.file));
    EXPECT_FALSE(deployed.empty());
    EXPECT_TRUE(deployed == ReadFileText(built / std::string(row.file))) << "not the library built for this engine";
  }
  EXPECT_EQ(RegisteredFolder(), folder.string() + "\\");

  // A damaged, read-only copy from an earlier run is replaced.
  const fs::path lzma = folder / "Codecs" / "LZMA.dll";
  std::ofstream(lzma, std::ios::binary | std::ios::trunc) << "MZ";
  SetFileAttributesA(lzma.string().c_str(), FILE_ATTRIBUTE_READONLY);
  DeploySevenZipCodecsAtStart();
  EXPECT_TRUE(ReadFileText(lzma) == ReadFileText(built / "Codecs" / "LZMA.dll"));

  // An exact copy stays as it is; one of the same size with a byte changed
  // is replaced.
  const fs::path copy = folder / "Codecs" / "Copy.dll";
  const auto writtenAt = fs::last_write_time(copy);
  std::string altered = ReadFileText(folder / "Codecs" / "Swap.dll");
  altered[altered.size() / 2] ^= 0x5A;
  std::ofstream(folder / "Codecs" / "Swap.dll", std::ios::binary | std::ios::trunc) << altered;
  Sleep(20);
  DeploySevenZipCodecsAtStart();
  EXPECT_EQ(fs::last_write_time(copy), writtenAt);
  EXPECT_TRUE(ReadFileText(folder / "Codecs" / "Swap.dll") == ReadFileText(built / "Codecs" / "Swap.dll"));
}

TEST(CodecDeploymentTest, KelFindsTheDeployedLibraries) {
  DeploySevenZipCodecsAtStart();
  // A copy of kel.dll with no libraries beside it has only the deployment.
  const fs::path lonely = fs::temp_directory_path() / "kel-deployment-test";
  fs::remove_all(lonely);
  fs::create_directories(lonely);
  std::string program(MAX_PATH, '\0');
  program.resize(GetModuleFileNameA(nullptr, program.data(), MAX_PATH));
  fs::copy_file(fs::path(program).parent_path() / "kel.dll", lonely / "kel-copy.dll");
  const HMODULE kel = LoadLibraryA((lonely / "kel-copy.dll").string().c_str());
  ASSERT_NE(kel, nullptr);
  const auto open =
      reinterpret_cast<decltype(&OpenListArchive)>(reinterpret_cast<void*>(GetProcAddress(kel, "OpenListArchive")));
  const auto close =
      reinterpret_cast<decltype(&CloseListArchive)>(reinterpret_cast<void*>(GetProcAddress(kel, "CloseListArchive")));
  const TArchiveItemRecord* items = nullptr;
  uint32_t count = 0;
  const std::string archive = corvane::test::FixturePath("kel_bcj2.7z");
  const uintptr_t handle = open(archive.c_str(), 0, nullptr, 0, 0, 0, "", &items, &count);
  EXPECT_NE(handle, 0u);
  EXPECT_EQ(count, 6u);
  if (handle) close(handle);
  FreeLibrary(kel);
  fs::remove_all(lonely);
}

}  // namespace
}  // namespace corvane
