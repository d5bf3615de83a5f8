// The media commands' file system on Windows, through the ANSI calls.
#pragma once

#include "media/media_files.h"

namespace corvane {

class TWindowsMediaFiles final : public TMediaFiles {
public:
  std::string TemporaryFolder() override;
  bool CreateFolders(const std::string& folder) override;
  bool FileExists(const std::string& path) override;
  void RemoveFile(const std::string& path) override;
  bool Move(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;
  std::optional<std::string> Read(const std::string& path) override;
  bool Write(const std::string& path, const std::vector<std::string_view>& parts) override;
  std::vector<std::string> FilesBelow(const std::string& folder) override;
  void DeleteFolderTree(const std::string& folder) override;
};

}  // namespace corvane
