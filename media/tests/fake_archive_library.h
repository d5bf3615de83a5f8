// Stands in for kel.dll in the media tests.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/archive_library.h"

namespace corvane::testing {

// Stands in for kel.dll: answers as told and lets a test act as the library
// does during a call (ask for the password, report progress, ...).
class TFakeLibrary final : public TArchiveLibrary {
public:
  std::optional<std::vector<TArchiveListEntry>> entries = std::vector<TArchiveListEntry>();
  bool extractResult = true;
  uint32_t lastError = 0;
  std::function<void(TArchiveCallbacks&)> duringCall;
  bool throwInCall = false;

  int listCalls = 0;
  int extractCalls = 0;
  std::string listedPassword;
  std::vector<std::string> selection;
  uint32_t folders = 99;
  std::string destination;
  std::string extractPassword;

  std::optional<std::vector<TArchiveListEntry>> List(const std::string&, const std::string& password,
                                                     TArchiveCallbacks& callbacks) override {
    ++listCalls;
    listedPassword = password;
    Act(callbacks);
    return entries;
  }
  bool Extract(const std::string&, const std::string& into, const std::vector<std::string>& selected,
               uint32_t folderArgument, const std::string& password, TArchiveCallbacks& callbacks) override {
    ++extractCalls;
    selection = selected;
    folders = folderArgument;
    destination = into;
    extractPassword = password;
    Act(callbacks);
    return extractResult;
  }
  uint32_t LastError() override { return lastError; }

private:
  void Act(TArchiveCallbacks& callbacks) {
    if (throwInCall) throw std::runtime_error("out of luck");
    if (duringCall) duringCall(callbacks);
  }
};

// Listing entries with nothing but their paths.
inline std::vector<TArchiveListEntry> EntriesNamed(const std::vector<std::string>& paths) {
  std::vector<TArchiveListEntry> entries;
  for (const std::string& path : paths) {
    TArchiveListEntry entry;
    entry.path = path;
    entries.push_back(entry);
  }
  return entries;
}

}  // namespace corvane::testing
