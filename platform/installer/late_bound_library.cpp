#include "platform/installer/late_bound_library.h"

#include <utility>

#include "installer/installer_api.h"
#include "platform/system_library.h"

namespace corvane {

std::string SystemLibraryPath(const std::string& fileName) { return SystemFolder() + fileName; }

TLateBoundLibrary::TLateBoundLibrary(std::string fileName) : fileName_(std::move(fileName)) {}

TLateBoundLibrary::~TLateBoundLibrary() {
  if (module_) FreeLibrary(module_);
}

void* TLateBoundLibrary::Address(const std::string& function) {
  std::lock_guard lock(mutex_);
  if (auto known = addresses_.find(function); known != addresses_.end()) return known->second;
  void* address = reinterpret_cast<void*>(GetProcAddress(Module(), function.c_str()));
  if (!address) throw TInstallerBindError::FunctionNotFound(fileName_, function);
  addresses_.emplace(function, address);
  return address;
}

HMODULE TLateBoundLibrary::Module() {
  if (!module_) {
    // A library already in the process is the same module: loading it again
    // only counts one more reference, which the destructor gives back.
    // Its own dependencies are looked for beside it.
    module_ = LoadLibraryExA(SystemLibraryPath(fileName_).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module_) throw TInstallerBindError::LibraryNotFound(fileName_);
  }
  return module_;
}

}  // namespace corvane
