// A machine for the run's start: files and registry values are what a test
// puts there; registry deletions are recorded.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "launcher/script_container.h"
#include "script/run_context.h"
#include "script/setup_init.h"
#include "script/setup_system.h"
#include "script/text_rules.h"

namespace corvane::testing {

// The work folder's package in the tests' runs.
inline constexpr const char* kTestPackagePath = "C:\\Users\\me\\kel1\\setup.msi";

class TFakeSetupSystem : public TSetupSystem {
public:
  struct TRunValue {
    TRegistryRoot root;
    std::string name;
    bool operator==(const TRunValue&) const = default;
  };

  std::string TemporaryFolder() override { return temporaryFolder; }
  std::string EngineVersion() override { return version; }
  bool IsNtFamily() override { return ntFamily; }
  bool IsAdministrator() override { return administrator; }
  std::string ShellFolder(TShellFolder folder) override {
    const auto found = shellFolders.find(folder);
    return found == shellFolders.end() ? std::string() : found->second;
  }
  std::optional<std::string> ReadRegistryString(TRegistryRoot root, const std::string& key,
                                                const std::string& value) override {
    const auto found = registry.find({root, key, value});
    return found == registry.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  void DeleteRunValue(TRegistryRoot root, const std::string& name) override { runValuesDeleted.push_back({root, name}); }
  bool FileExists(const std::string& path) override { return files.contains(path); }
  std::optional<std::string> ReadTextFile(const std::string& path) override {
    const auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  std::string LowerCase(std::string_view text) override {
    std::string lower(text);
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
  }
  std::string NewGuid() override { return "{NEW-GUID-" + std::to_string(++guidsMade) + "}"; }

  std::string temporaryFolder = "C:\\Users\\me\\Temp\\";
  std::string version = "1.2.3.4";
  bool ntFamily = true;
  bool administrator = false;
  std::map<TShellFolder, std::string> shellFolders = {
      {TShellFolder::Desktop, "C:\\Users\\me\\Desktop"},
      {TShellFolder::CommonDesktop, "C:\\Users\\Public\\Desktop"},
      {TShellFolder::ProgramFiles, "C:\\Program Files"},
      {TShellFolder::CommonProgramFiles, "C:\\Program Files\\Common Files"},
      {TShellFolder::Documents, "C:\\Users\\me\\Documents"},
  };
  std::map<std::tuple<TRegistryRoot, std::string, std::string>, std::string> registry;
  // Path -> content; the run's package is there unless a test removes it.
  std::map<std::string, std::string> files = {{kTestPackagePath, ""}};
  std::vector<TRunValue> runValuesDeleted;
  int guidsMade = 0;
};

// Stands in for the product-instance logic: PRODUCTCODE and the title from
// the container, and a record of the calls.
class TFakeProductStart : public TProductStart {
public:
  void ClearComponents() override { calls.push_back("ClearComponents"); }
  void DetectInstance(TRunContext& run) override {
    calls.push_back("DetectInstance");
    run.Store().Define("PRODUCTCODE", run.Container().Sections().productCode, "Bootstrap");
    if (maintenance) run.Store().Define("MAINTENANCE", "TRUE", "Bootstrap");
    name = run.Container().Sections().title;
  }
  std::string ProductName() const override { return name; }
  void DefinePredefinedComponent() override { calls.push_back("DefinePredefinedComponent"); }
  void PreparePatch(TRunContext&) override { calls.push_back("PreparePatch"); }

  std::vector<std::string> calls;
  std::string name;
  bool maintenance = false;  // the product is installed with this package
};

}  // namespace corvane::testing
