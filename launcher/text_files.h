// The files of the work folder, as the language choice and the translations
// read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// Tells whether a file changed since it was last read, without reading it.
struct TFileStamp {
  std::uint64_t size = 0;
  std::uint64_t lastWrite = 0;
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

class TTextFiles {
public:
  virtual ~TTextFiles() = default;
  // Nothing when the file is missing or cannot be read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Nothing when the file is missing.
  virtual std::optional<TFileStamp> Stamp(const std::string& path) = 0;
  // The names of the files (not folders) directly in folder, in the order
  // the system lists them; folder ends with a backslash.
  virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
};

}  // namespace corvane
