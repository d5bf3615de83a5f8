// What the engine needs of the archive library, in C++ terms. The platform
// binds it to kel.dll; tests bind it to a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

struct TArchiveListEntry {
  std::string path;
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t packedSize = 0;
  std::string dateText;  // local time, short date and long time; empty when it has none
};

// The callbacks of one library call. The library's own callbacks carry no
// context; the platform routes them here for the call in progress.
class TArchiveCallbacks {
public:
  virtual ~TArchiveCallbacks() = default;
  virtual std::optional<std::string> Password() = 0;
  virtual bool Progress(const std::string& itemPath, uint64_t done, uint64_t total) = 0;
  virtual int32_t OverwriteAnswer() = 0;
};

// The folder argument and the overwrite answers the engine passes.
inline constexpr uint32_t kArchiveKeepFolders = 0;
inline constexpr uint32_t kArchiveFlatFolders = 1;
inline constexpr int32_t kArchiveAnswerKeepExisting = 1;
inline constexpr int32_t kArchiveAnswerReplaceAll = 4;

class TArchiveLibrary {
public:
  virtual ~TArchiveLibrary() = default;
  // Opens and lists the archive; nothing when the library failed.
  virtual std::optional<std::vector<TArchiveListEntry>> List(const std::string& archivePath,
                                                             const std::string& password,
                                                             TArchiveCallbacks& callbacks) = 0;
  virtual bool Extract(const std::string& archivePath, const std::string& destination,
                       const std::vector<std::string>& selection, uint32_t folders, const std::string& password,
                       TArchiveCallbacks& callbacks) = 0;
  // The code of the library's last failure on this thread.
  virtual uint32_t LastError() = 0;
};

}  // namespace corvane
