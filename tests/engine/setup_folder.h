// A setup folder as the build tool leaves it, in the temporary folder, and
// what a run leaves behind there.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/process_runner.h"

namespace corvane::test {

inline std::string TempFolder() {
  char path[MAX_PATH + 1];
  GetTempPathA(sizeof(path), path);
  return path;
}

// The names of the work folders ("kelN") in the temporary folder.
inline std::set<std::string> WorkFolders() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((TempFolder() + "kel*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// The engine with its script, named after the product, and whatever else
// the case puts beside it.
class TSetupFolder {
public:
  TSetupFolder() {
    static int counter = 0;
    folder_ = TempFolder() + "engine-test-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }

  std::string Put(const std::string& source, const std::string& name) {
    std::string target = folder_ + name;
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source;
    return target;
  }
  std::string Write(const std::string& name, const std::string& content) {
    std::ofstream(folder_ + name, std::ios::binary) << content;
    return folder_ + name;
  }
  const std::string& Path() const { return folder_; }

  TRunResult Run(const std::string& exe, std::vector<std::string> arguments,
                 std::vector<std::pair<std::string, std::string>> environment = {}) {
    TRunRequest request;
    request.program = folder_ + exe;
    request.arguments = std::move(arguments);
    request.workingFolder = folder_;
    request.environment = std::move(environment);
    return RunProgram(request);
  }

private:
  std::string folder_;
};

}  // namespace corvane::test
