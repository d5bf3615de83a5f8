#include "platform/file_version_resource.h"

#include <vector>

#include "platform/system_library.h"

namespace corvane {
namespace version_api {
using TGetSize = DWORD(WINAPI*)(LPCSTR, LPDWORD);
using TGetInfo = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
using TQuery = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
}  // namespace version_api

std::optional<TFileVersion> ReadFileVersionResource(const std::string& path) {
  // Bound at run time: an import would be resolved from the setup's own
  // folder before any of the engine's code runs.
  TSystemLibrary library("version.dll");
  auto getSize = library.Bind<version_api::TGetSize>("GetFileVersionInfoSizeA");
  auto getInfo = library.Bind<version_api::TGetInfo>("GetFileVersionInfoA");
  auto query = library.Bind<version_api::TQuery>("VerQueryValueA");
  if (!getSize || !getInfo || !query) return std::nullopt;

  DWORD ignored = 0;
  const DWORD size = getSize(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> data(size);
  if (!getInfo(path.c_str(), 0, size, data.data())) return std::nullopt;
  void* block = nullptr;
  UINT blockSize = 0;
  if (!query(data.data(), "\\", &block, &blockSize) || blockSize < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
  if (info->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return TFileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                      LOWORD(info->dwFileVersionLS)};
}

}  // namespace corvane
