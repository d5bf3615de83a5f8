// In-memory stand-ins for the file system, the worker threads and the
// program runner of the media commands.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "actions/program_runner.h"
#include "media/media_files.h"
#include "script/worker.h"

namespace corvane::testing {

// Files by exact path, folders without their trailing backslash. Move
// refuses an existing target, as Windows does.
class TFakeFiles final : public TMediaFiles {
public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> failingMoves;  // sources whose move fails

  std::string TemporaryFolder() override { return "C:\\Temp\\"; }
  bool CreateFolders(const std::string& folder) override {
    const std::lock_guard guard(lock_);
    std::string path = folder;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
      folders.insert(path.substr(0, at));
    }
    folders.insert(path);
    return true;
  }
  bool FileExists(const std::string& path) override {
    const std::lock_guard guard(lock_);
    return files.count(path) != 0;
  }
  void RemoveFile(const std::string& path) override {
    const std::lock_guard guard(lock_);
    files.erase(path);
  }
  bool Move(const std::string& from, const std::string& to) override {
    const std::lock_guard guard(lock_);
    if (!files.count(from) || files.count(to) || failingMoves.count(from)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    const std::lock_guard guard(lock_);
    if (!files.count(from)) return false;
    files[to] = files[from];
    return true;
  }
  std::optional<std::string> Read(const std::string& path) override {
    const std::lock_guard guard(lock_);
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool Write(const std::string& path, const std::vector<std::string_view>& parts) override {
    const std::lock_guard guard(lock_);
    std::string& content = files[path];
    content.clear();
    for (std::string_view part : parts) content += part;
    return true;
  }
  std::vector<std::string> FilesBelow(const std::string& folder) override {
    const std::lock_guard guard(lock_);
    std::vector<std::string> below;
    for (const auto& [path, content] : files) {
      if (path.rfind(folder, 0) == 0) below.push_back(path);
    }
    return below;
  }
  void DeleteFolderTree(const std::string& folder) override {
    const std::lock_guard guard(lock_);
    std::erase_if(files, [&](const auto& file) { return file.first.rfind(folder, 0) == 0; });
    std::string bare = folder;
    while (!bare.empty() && bare.back() == '\\') bare.pop_back();
    std::erase_if(folders, [&](const std::string& path) { return path == bare || path.rfind(folder, 0) == 0; });
  }

private:
  std::mutex lock_;
};

// Threaded: each worker gets a real thread, so the interpreter's wait loop
// runs while it works. Otherwise the work is done inside Start.
class TFakeWorkers final : public TWorkerThreads {
public:
  explicit TFakeWorkers(bool threaded = false) : threaded_(threaded) {}

  std::unique_ptr<TWorkerThread> Start(std::function<void()> work) override {
    ++started;
    if (!threaded_) {
      work();
      return std::make_unique<TThread>(std::thread());
    }
    return std::make_unique<TThread>(std::thread(std::move(work)));
  }
  void Wake(TWindowHandle window) override {
    const std::lock_guard guard(lock_);
    wakes_.push_back(window);
  }
  std::vector<TWindowHandle> Wakes() {
    const std::lock_guard guard(lock_);
    return wakes_;
  }

  int started = 0;

private:
  class TThread final : public TWorkerThread {
  public:
    explicit TThread(std::thread thread) : thread_(std::move(thread)) {}
    ~TThread() override {
      if (thread_.joinable()) thread_.join();
    }
    TWorkerHandle Handle() const override { return const_cast<TThread*>(this); }

  private:
    std::thread thread_;
  };

  const bool threaded_;
  std::mutex lock_;
  std::vector<TWindowHandle> wakes_;
};

class TFakePrograms final : public TProgramRunner {
public:
  std::optional<uint32_t> exitCode = 0;
  std::vector<TProgramStart> runs;
  // What the program saw of the files while it ran.
  std::function<void()> whileRunning;

  std::optional<uint32_t> Run(const TProgramStart& start) override {
    runs.push_back(start);
    if (whileRunning) whileRunning();
    return exitCode;
  }
};

}  // namespace corvane::testing
