// A system of the tests' own: ASCII letter case, and files, folders and
// environment variables given as tables.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "actions/system_queries.h"
#include "script/text_rules.h"

namespace corvane::testing {

class TFakeSystemQueries : public TSystemQueries {
public:
  std::string Upper(std::string_view text) const override { return UpperCase(text); }
  std::string Lower(std::string_view text) const override {
    std::string result(text);
    for (char& c : result) {
      c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return result;
  }
  std::optional<TFileVersion> FileVersion(const std::string& path) const override {
    const auto found = versions.find(path);
    return found == versions.end() ? std::nullopt : std::optional<TFileVersion>(found->second);
  }
  std::string ShortPath(const std::string& path) const override {
    const auto found = shortPaths.find(UpperCase(path));
    return found == shortPaths.end() ? std::string() : found->second;
  }
  std::optional<std::string> EntryName(const std::string& path) const override {
    const auto found = entries.find(UpperCase(path));
    return found == entries.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  std::string ExpandEnvironment(const std::string& text) const override {
    for (const auto& [name, value] : environment) {
      if (text == "%" + name + "%") {
        return value;
      }
    }
    return text;
  }
  std::string TemporaryFolder() const override { return temporaryFolder; }
  std::optional<std::string> CreateTemporaryFile(const std::string& folder, const std::string& prefix) const override {
    if (folder != creatableFolder) {
      return std::nullopt;
    }
    return folder + prefix + "1A.tmp";
  }

  std::map<std::string, TFileVersion> versions;
  std::map<std::string, std::string> shortPaths;  // upper-case path -> short form
  std::map<std::string, std::string> entries;     // upper-case full path -> name on disk
  std::map<std::string, std::string> environment;
  std::string temporaryFolder = "C:\\Temp\\";
  std::string creatableFolder = "C:\\Temp\\";
};

}  // namespace corvane::testing
