#include "platform/launcher/windows_setup_system.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/win_handles.h"

namespace corvane {
namespace {

int CsidlOf(TShellFolder folder) {
  switch (folder) {
    case TShellFolder::Desktop:
      return CSIDL_DESKTOP;
    case TShellFolder::CommonDesktop:
      return CSIDL_COMMON_DESKTOPDIRECTORY;
    case TShellFolder::ProgramFiles:
      return CSIDL_PROGRAM_FILES;
    case TShellFolder::CommonProgramFiles:
      return CSIDL_PROGRAM_FILES_COMMON;
    case TShellFolder::Documents:
      return CSIDL_PERSONAL;
  }
  return CSIDL_DESKTOP;
}

// The thread's token when it impersonates, else the process's.
bool OpenOwnToken(TTokenHandle& token) {
  return OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Out()) ||
         OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out());
}

class TSid {
public:
  TSid(const TSid&) = delete;
  TSid& operator=(const TSid&) = delete;
  TSid() {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                             &sid_);
  }
  ~TSid() {
    if (sid_ != nullptr) FreeSid(sid_);
  }
  PSID Get() const { return sid_; }

private:
  PSID sid_ = nullptr;
};

// Enabled or not, the group counts.
bool TokenHoldsAdministrators() {
  TTokenHandle token;
  if (!OpenOwnToken(token)) return false;
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<unsigned char> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), size, &size)) return false;
  const TSid administrators;
  if (administrators.Get() == nullptr) return false;
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  for (DWORD i = 0; i < groups->GroupCount; ++i) {
    if (EqualSid(groups->Groups[i].Sid, administrators.Get())) return true;
  }
  return false;
}

void AppendHex(std::string& text, unsigned long value, int digits) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
}

}  // namespace

TWindowsSetupSystem::TWindowsSetupSystem(const TLaunchFacts& facts)
    : temporaryFolder_(facts.temporaryFolder), engineVersion_(facts.engineVersion.Text()) {}

std::string TWindowsSetupSystem::TemporaryFolder() { return temporaryFolder_; }

std::string TWindowsSetupSystem::EngineVersion() { return engineVersion_; }

bool TWindowsSetupSystem::IsNtFamily() {
  if (!ntFamily_) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ntFamily_ = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }
  return *ntFamily_;
}

bool TWindowsSetupSystem::IsAdministrator() {
  if (!administrator_) administrator_ = !IsNtFamily() || TokenHoldsAdministrators();
  return *administrator_;
}

std::string TWindowsSetupSystem::ShellFolder(TShellFolder folder) {
  const auto known = shellFolders_.find(folder);
  if (known != shellFolders_.end()) return known->second;
  std::string path(MAX_PATH, '\0');  // the size the shell writes into
  const bool found = SHGetFolderPathA(nullptr, CsidlOf(folder), nullptr, SHGFP_TYPE_CURRENT, path.data()) == S_OK;
  path.resize(found ? path.find('\0') : 0);
  return shellFolders_[folder] = path;
}

std::optional<std::string> TWindowsSetupSystem::ReadRegistryString(TRegistryRoot root, const std::string& key,
                                                                   const std::string& value) {
  TRegistryKey opened;
  if (RegOpenKeyExA(RootKeyOf(root), key.c_str(), 0, KEY_QUERY_VALUE, opened.Out()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(opened.Get(), value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::string text(size, '\0');
  if (RegQueryValueExA(opened.Get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(std::min<std::size_t>(size, text.size()));
  if (const std::size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
  return text;
}

void TWindowsSetupSystem::DeleteRunValue(TRegistryRoot root, const std::string& name) {
  TRegistryKey key;
  if (RegCreateKeyExA(RootKeyOf(root), kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                      key.Out(), nullptr) == ERROR_SUCCESS) {
    RegDeleteValueA(key.Get(), name.c_str());
  }
}

bool TWindowsSetupSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> TWindowsSetupSystem::ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string TWindowsSetupSystem::LowerCase(std::string_view text) {
  std::string lower(text);
  if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}

std::string TWindowsSetupSystem::NewGuid() {
  GUID guid{};
  CoCreateGuid(&guid);
  std::string text = "{";
  AppendHex(text, guid.Data1, 8);
  text += '-';
  AppendHex(text, guid.Data2, 4);
  text += '-';
  AppendHex(text, guid.Data3, 4);
  text += '-';
  for (int i = 0; i < 8; ++i) {
    if (i == 2) text += '-';
    AppendHex(text, guid.Data4[i], 2);
  }
  return text + "}";
}

}  // namespace corvane
