#include "media/kel/seven_zip_module.h"

#include <array>
#include <mutex>

#include "media/kel/codec_host.h"
#include "media/kel/kel_api.h"
#include "media/kel/kel_failure.h"

namespace corvane::kel {
namespace {

constexpr const wchar_t* kRegistryKey = L"SOFTWARE\\Tessaly\\Corvane\\Seven Zip";
constexpr std::array<const wchar_t*, 6> kCodecFiles = {L"Aes.dll",  L"7zAes.dll", L"Branch.dll",
                                                       L"Copy.dll", L"LZMA.dll",  L"Swap.dll"};

std::wstring WithTrailingBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring DeployedFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  std::wstring folder;
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, L"Path", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS && type == REG_SZ) {
    folder.resize(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(folder.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(folder.data()), &bytes) !=
        ERROR_SUCCESS) {
      folder.clear();
    }
    folder.resize(folder.find(L'\0') == std::wstring::npos ? folder.size() : folder.find(L'\0'));
  }
  RegCloseKey(key);
  return WithTrailingBackslash(folder);
}

std::wstring OwnFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnFolder), &self);
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

}  // namespace

TSevenZipModule::TSevenZipModule(TModuleLibrary format, Func_CreateObject createObject)
    : format_(std::move(format)), createObject_(createObject) {}

std::unique_ptr<TSevenZipModule> TSevenZipModule::LoadFrom(const std::wstring& folder) {
  TModuleLibrary format(folder + L"Formats\\7z.dll");
  const auto createObject = format ? format.Function<Func_CreateObject>("CreateObject") : nullptr;
  if (!createObject) return nullptr;
  std::unique_ptr<TSevenZipModule> module(new TSevenZipModule(std::move(format), createObject));
  auto* host = new TCodecHost;
  module->host_ = host;
  for (const wchar_t* file : kCodecFiles) {
    TModuleLibrary codec(folder + L"Codecs\\" + file);
    if (!codec) continue;
    host->AddLibrary(codec);
    module->codecs_.push_back(std::move(codec));
  }
  return module;
}

const TSevenZipModule& TSevenZipModule::Load() {
  static std::mutex loading;
  // Never freed: unloading 7-Zip's libraries while kel.dll detaches would run
  // their code under the loader lock; the process's end releases them.
  static const TSevenZipModule* loaded = nullptr;
  const std::lock_guard<std::mutex> lock(loading);
  if (loaded) return *loaded;
  for (const std::wstring& folder : {DeployedFolder(), OwnFolder()}) {
    if (folder.empty()) continue;
    if (auto module = LoadFrom(folder)) {
      loaded = module.release();
      return *loaded;
    }
  }
  throw TKelFailure(KEL_ERROR_FORMAT_LIBRARY);
}

CMyComPtr<IInArchive> TSevenZipModule::CreateHandler() const {
  CMyComPtr<IInArchive> handler;
  if (createObject_(&CLSID_Format7z, &IID_IInArchive, reinterpret_cast<void**>(&handler)) != S_OK || !handler) {
    throw TKelFailure(KEL_ERROR_FORMAT_LIBRARY);
  }
  CMyComPtr<ISetCompressCodecsInfo> codecs;
  handler.QueryInterface(IID_ISetCompressCodecsInfo, &codecs);
  if (!codecs || codecs->SetCompressCodecsInfo(host_) != S_OK) throw TKelFailure(KEL_ERROR_FORMAT_LIBRARY);

  // One decoding thread: the engine keeps to one processor anyway, and the
  // callbacks must come back on the caller's thread.
  CMyComPtr<ISetProperties> properties;
  handler.QueryInterface(IID_ISetProperties, &properties);
  if (properties) {
    const wchar_t* names[] = {L"mt", L"mtf"};
    PROPVARIANT values[2] = {};
    values[0].vt = VT_UI4;
    values[0].ulVal = 1;
    values[1].vt = VT_BOOL;
    values[1].boolVal = VARIANT_FALSE;
    if (properties->SetProperties(names, values, 2) != S_OK) throw TKelFailure(KEL_ERROR_FORMAT_LIBRARY);
  }
  return handler;
}

}  // namespace corvane::kel
