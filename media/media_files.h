// The file system as the extraction workers and the light mode setup use it:
// ANSI paths, folders written with a trailing backslash where noted. Every
// failure is an answer, never an exception.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class TMediaFiles {
public:
  virtual ~TMediaFiles() = default;
  // The system's temporary folder, with a trailing backslash.
  virtual std::string TemporaryFolder() = 0;
  // Creates the folder and its missing parents; true when it exists after.
  virtual bool CreateFolders(const std::string& folder) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Clears the file's attributes and deletes it; a missing file is no error.
  virtual void RemoveFile(const std::string& path) = 0;
  virtual bool Move(const std::string& from, const std::string& to) = 0;
  // Replaces an existing target.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  // The whole content; none when the file cannot be read.
  virtual std::optional<std::string> Read(const std::string& path) = 0;
  // Creates or truncates the file and writes every part in order.
  virtual bool Write(const std::string& path, const std::vector<std::string_view>& parts) = 0;
  // Every file below the folder, recursively, as full paths.
  virtual std::vector<std::string> FilesBelow(const std::string& folder) = 0;
  // Deletes everything below the folder (up to three passes), then the folder.
  virtual void DeleteFolderTree(const std::string& folder) = 0;
};

}  // namespace corvane
