// Files read whole and folders listed, for the start-up and the language
// choice.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launcher/text_files.h"

namespace corvane {

// Nothing when the file is missing, is a folder, or cannot be read.
std::optional<std::string> ReadWholeFileAt(const std::string& path);
bool IsExistingFile(const std::string& path);

class TWinTextFiles : public TTextFiles {
public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override { return ReadWholeFileAt(path); }
  bool FileExists(const std::string& path) override { return IsExistingFile(path); }
  std::optional<TFileStamp> Stamp(const std::string& path) override;
  std::vector<std::string> FileNames(const std::string& folder) override;
};

}  // namespace corvane
