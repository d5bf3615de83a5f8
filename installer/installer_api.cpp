#include "installer/installer_api.h"

#include <utility>

namespace corvane {

TInstallerBindError TInstallerBindError::LibraryNotFound(std::string_view library) {
  return TInstallerBindError("Library not found: " + std::string(library));
}

TInstallerBindError TInstallerBindError::FunctionNotFound(std::string_view library, std::string_view function) {
  return TInstallerBindError("Function not found: " + std::string(library) + "." + std::string(function));
}

TInstallerHandle::TInstallerHandle(TInstallerHandle&& other) noexcept
    : api_(std::exchange(other.api_, nullptr)), value_(std::exchange(other.value_, 0)) {}

TInstallerHandle& TInstallerHandle::operator=(TInstallerHandle&& other) noexcept {
  if (this != &other) {
    Close();
    api_ = std::exchange(other.api_, nullptr);
    value_ = std::exchange(other.value_, 0);
  }
  return *this;
}

void TInstallerHandle::Close() noexcept {
  if (api_ && value_ != 0) {
    try {
      api_->CloseHandle(value_);
    } catch (...) {
      // Closing runs in destructors; a handle that cannot be closed lasts until the process ends.
    }
  }
  api_ = nullptr;
  value_ = 0;
}

}  // namespace corvane
