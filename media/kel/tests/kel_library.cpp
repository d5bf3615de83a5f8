#include "media/kel/tests/kel_library.h"

#include <gtest/gtest.h>

namespace corvane::kel::test {
namespace {

template <class TFunction>
TFunction Export(HMODULE module, const char* name) {
  auto* function = reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  EXPECT_NE(function, nullptr) << "kel.dll does not export " << name;
  return function;
}

}  // namespace

TKelLibrary::TKelLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
  if (!module_) {
    ADD_FAILURE() << "cannot load " << path << " (error " << GetLastError() << ")";
    return;
  }
  openListArchive = Export<decltype(openListArchive)>(module_, "OpenListArchive");
  closeListArchive = Export<decltype(closeListArchive)>(module_, "CloseListArchive");
  extractArchive = Export<decltype(extractArchive)>(module_, "ExtractArchive");
  getLastArchiveError = Export<decltype(getLastArchiveError)>(module_, "GetLastArchiveError");
}

TKelLibrary::~TKelLibrary() {
  if (module_) FreeLibrary(module_);
}

std::string ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace corvane::kel::test
