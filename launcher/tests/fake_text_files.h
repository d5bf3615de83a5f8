// A work folder in memory: files by path, letter case ignored as Windows
// does, listed in the order they were put.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "launcher/text_files.h"
#include "script/text_rules.h"

namespace corvane::testing {

class TFakeTextFiles : public TTextFiles {
public:
  void Put(const std::string& path, std::string content) {
    if (!files_.contains(UpperCase(path))) order_.push_back(path);
    files_[UpperCase(path)] = {std::move(content), ++writes_};
  }
  void Remove(const std::string& path) {
    files_.erase(UpperCase(path));
    std::erase_if(order_, [&](const std::string& listed) { return EqualIgnoringCase(listed, path); });
  }

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    ++reads;
    const auto found = files_.find(UpperCase(path));
    if (found == files_.end()) return std::nullopt;
    return found->second.content;
  }
  bool FileExists(const std::string& path) override { return files_.contains(UpperCase(path)); }
  std::optional<TFileStamp> Stamp(const std::string& path) override {
    const auto found = files_.find(UpperCase(path));
    if (found == files_.end()) return std::nullopt;
    return TFileStamp{found->second.content.size(), found->second.written};
  }
  std::vector<std::string> FileNames(const std::string& folder) override {
    std::vector<std::string> names;
    for (const std::string& path : order_) {
      if (path.starts_with(folder) && path.find('\\', folder.size()) == std::string::npos) {
        names.push_back(path.substr(folder.size()));
      }
    }
    return names;
  }

  int reads = 0;

private:
  struct TFile {
    std::string content;
    std::uint64_t written;  // stands in for the time of the last write
  };
  std::map<std::string, TFile> files_;  // by upper-case path
  std::uint64_t writes_ = 0;
  std::vector<std::string> order_;
};

}  // namespace corvane::testing
