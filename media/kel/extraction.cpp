#include "media/kel/extraction.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "media/kel/archive_reader.h"
#include "media/kel/file_streams.h"
#include "media/kel/item_path.h"
#include "media/kel/kel_failure.h"
#include "media/kel/password_source.h"
#include "media/kel/windows_text.h"

namespace corvane::kel {
namespace {

struct TTarget {
  const TArchiveEntry* entry;
  std::wstring path;
};

using TTargets = std::map<UInt32, TTarget>;

std::wstring JoinPath(std::wstring folder, const std::wstring& name) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + name;
}

std::wstring CheckedDestination(const char* destination) {
  std::wstring folder = WideFromAnsi(destination ? destination : "");
  if (folder.empty()) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
  for (wchar_t& c : folder) {
    if (c == L'/') c = L'\\';
  }
  return folder;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolderTree(std::wstring folder) {
  while (folder.size() > 1 && folder.back() == L'\\') folder.pop_back();
  if (folder.empty() || IsFolder(folder)) return;
  const size_t parentEnd = folder.find_last_of(L'\\');
  if (parentEnd != std::wstring::npos && parentEnd > 0) CreateFolderTree(folder.substr(0, parentEnd));
  if (!CreateDirectoryW(folder.c_str(), nullptr) && !IsFolder(folder)) throw TKelFailure(KEL_ERROR_WRITE);
}

std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::set<UInt32> SelectedIndices(const std::vector<TArchiveEntry>& entries, const TSZW_TARGETFILES& selection) {
  if (selection.count != 0 && !selection.fileNames) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
  std::multimap<std::string, UInt32> byPath;
  for (const TArchiveEntry& entry : entries) byPath.emplace(entry.ansiPath, entry.index);
  std::set<UInt32> selected;
  for (uint32_t i = 0; i < selection.count; ++i) {
    const char* name = selection.fileNames[i];
    if (!name) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
    // Archives may hold one path twice; both are extracted, in archive order.
    const auto [first, last] = byPath.equal_range(name);
    if (first == last) throw TKelFailure(KEL_ERROR_NOT_IN_ARCHIVE);
    for (auto it = first; it != last; ++it) selected.insert(it->second);
  }
  return selected;
}

TTargets PlanTargets(const std::vector<TArchiveEntry>& entries, const std::set<UInt32>& selected,
                     const std::wstring& destination, bool flat) {
  TTargets targets;
  for (const UInt32 index : selected) {
    const TArchiveEntry& entry = entries[index];
    const auto parts = SplitSafeItemPath(entry.path);
    if (!parts) throw TKelFailure(KEL_ERROR_UNSAFE_ITEM_PATH);
    if (flat && entry.isFolder) continue;
    std::wstring path = destination;
    if (flat) {
      path = JoinPath(path, parts->back());
    } else {
      for (const std::wstring& part : *parts) path = JoinPath(path, part);
    }
    targets.emplace(index, TTarget{&entry, path});
  }
  return targets;
}

uint64_t FileTimeValue(const FILETIME& time) {
  return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t FileTimeValue(const TKelFileTime& time) {
  return (uint64_t(time.highDateTime) << 32) | time.lowDateTime;
}

FILETIME ToFileTime(const TKelFileTime& time) { return {time.lowDateTime, time.highDateTime}; }

// Attributes an extracted file may carry; the rest describe the archive's
// origin (Unix modes and the like), not the file.
constexpr DWORD kFileAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

uint32_t FailureOfItemResult(Int32 result, bool encrypted) {
  namespace NResult = NArchive::NExtract::NOperationResult;
  if (result == NResult::kUnsupportedMethod) return KEL_ERROR_UNSUPPORTED_METHOD;
  if (result == NResult::kWrongPassword) return KEL_ERROR_WRONG_PASSWORD;
  // With AES a wrong key shows only as a checksum or data error.
  return encrypted ? KEL_ERROR_WRONG_PASSWORD : KEL_ERROR_DATA;
}

Z7_CLASS_IMP_COM_2(TExtractCallback, IArchiveExtractCallback, ICryptoGetTextPassword)
  Z7_IFACE_COM7_IMP(IProgress)
public:
  TExtractCallback(const TTargets& targets, const TExtractRequest& request, TPasswordSource& passwords)
      : targets_(targets), request_(request), passwords_(passwords) {
    for (const auto& [index, target] : targets_) total_ += target.entry->size;
  }

  // The first failure seen, 0 when none.
  uint32_t Failure() const { return failure_; }
  bool HandledAll() const { return handled_.size() == targets_.size(); }

private:
  HRESULT Fail(uint32_t code) {
    if (failure_ == 0) failure_ = code;
    return E_ABORT;
  }
  template <class TBody>
  HRESULT Guarded(TBody&& body) {
    // Nothing may unwind into 7-Zip, which has a runtime of its own.
    try {
      return body();
    } catch (const TKelFailure& failure) {
      return Fail(failure.Code());
    } catch (...) {
      return Fail(KEL_ERROR_GENERAL);
    }
  }
  // Progress counts the bytes of the selected files, written or kept; 7-Zip's
  // own count includes what it decodes only to pass over, and comes seldom.
  HRESULT ReportProgress() {
    if (!request_.progressCallback) return S_OK;
    return request_.progressCallback(currentItem_.c_str(), done_, total_) != 0 ? S_OK : Fail(KEL_ERROR_STOPPED);
  }
  bool Notify(uint32_t event, UInt32 index) const {
    return !request_.notifyCallback || request_.notifyCallback(event, index) != 0;
  }
  // Throws KEL_ERROR_STOPPED for an answer that is none of the known ones.
  bool ReplaceExisting(const TTarget& target, const WIN32_FILE_ATTRIBUTE_DATA& existing);
  HRESULT StartFile(UInt32 index, const TTarget& target, ISequentialOutStream** stream);

  const TTargets& targets_;
  const TExtractRequest& request_;
  TPasswordSource& passwords_;
  std::optional<bool> replaceAll_;
  uint64_t total_ = 0;
  uint64_t done_ = 0;
  std::string currentItem_;
  const TTarget* current_ = nullptr;
  std::shared_ptr<TPendingFile> pending_;
  std::set<UInt32> handled_;
  uint32_t failure_ = 0;
};

bool TExtractCallback::ReplaceExisting(const TTarget& target, const WIN32_FILE_ATTRIBUTE_DATA& existing) {
  if (replaceAll_) return *replaceAll_;
  if (!request_.overwriteCallback) return true;
  const uint64_t existingSize = (uint64_t(existing.nFileSizeHigh) << 32) | existing.nFileSizeLow;
  const int32_t answer = request_.overwriteCallback(
      AnsiFromWide(target.path).c_str(), existingSize, FileTimeValue(existing.ftLastWriteTime),
      target.entry->ansiPath.c_str(), target.entry->size, FileTimeValue(target.entry->modificationTime));
  switch (answer) {
    case KEL_OVERWRITE_NO: return false;
    case KEL_OVERWRITE_YES: return true;
    case KEL_OVERWRITE_NO_TO_ALL: return *(replaceAll_ = false);
    case KEL_OVERWRITE_YES_TO_ALL: return *(replaceAll_ = true);
    default: throw TKelFailure(KEL_ERROR_STOPPED);
  }
}

HRESULT TExtractCallback::StartFile(UInt32 index, const TTarget& target, ISequentialOutStream** stream) {
  CreateFolderTree(ParentOf(target.path));
  WIN32_FILE_ATTRIBUTE_DATA existing;
  if (GetFileAttributesExW(target.path.c_str(), GetFileExInfoStandard, &existing)) {
    if (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Fail(KEL_ERROR_WRITE);
    if (!ReplaceExisting(target, existing)) {
      handled_.insert(index);
      done_ += target.entry->size;
      return Notify(KEL_NOTIFY_ITEM_SKIPPED, index) ? S_OK : Fail(KEL_ERROR_STOPPED);
    }
  }
  if (!Notify(KEL_NOTIFY_ITEM_START, index)) return Fail(KEL_ERROR_STOPPED);
  pending_ = std::make_shared<TPendingFile>(target.path);
  current_ = &target;
  *stream = OutStreamFor(pending_, [this](UInt32 written) {
              done_ += written;
              return Guarded([&] { return ReportProgress(); });
            }).Detach();
  return S_OK;
}

Z7_COM7F_IMF(TExtractCallback::SetTotal(UInt64)) { return S_OK; }

Z7_COM7F_IMF(TExtractCallback::SetCompleted(const UInt64*)) {
  return Guarded([&] { return ReportProgress(); });
}

Z7_COM7F_IMF(TExtractCallback::GetStream(UInt32 index, ISequentialOutStream** outStream, Int32 askExtractMode)) {
  namespace NAskMode = NArchive::NExtract::NAskMode;
  *outStream = nullptr;
  pending_.reset();
  current_ = nullptr;
  const auto found = targets_.find(index);
  if (found == targets_.end()) return S_OK;
  // 7-Zip only tests the rest of a block once it found it damaged; the
  // result that follows is the item's failure.
  if (askExtractMode == NAskMode::kTest) current_ = &found->second;
  if (askExtractMode != NAskMode::kExtract) return S_OK;
  return Guarded([&] {
    const TTarget& target = found->second;
    currentItem_ = target.entry->ansiPath;
    if (target.entry->isFolder) {
      CreateFolderTree(target.path);
      handled_.insert(index);
      return S_OK;
    }
    return StartFile(index, target, outStream);
  });
}

Z7_COM7F_IMF(TExtractCallback::PrepareOperation(Int32)) { return S_OK; }

Z7_COM7F_IMF(TExtractCallback::SetOperationResult(Int32 opRes)) {
  const TTarget* target = std::exchange(current_, nullptr);
  const std::shared_ptr<TPendingFile> file = std::move(pending_);
  if (!target) return S_OK;
  return Guarded([&] {
    const TArchiveEntry& entry = *target->entry;
    if (opRes != NArchive::NExtract::NOperationResult::kOK) return Fail(FailureOfItemResult(opRes, entry.encrypted));
    if (!file) return S_OK;
    file->Commit(ToFileTime(entry.creationTime), ToFileTime(entry.modificationTime),
                 entry.attributes & kFileAttributes);
    handled_.insert(entry.index);
    return S_OK;
  });
}

Z7_COM7F_IMF(TExtractCallback::CryptoGetTextPassword(BSTR* password)) { return passwords_.Supply(password); }

uint32_t FailureOfExtract(HRESULT result, const TPasswordSource& passwords) {
  if (result == E_ABORT) return passwords.WasMissing() ? KEL_ERROR_WRONG_PASSWORD : KEL_ERROR_STOPPED;
  if (result == E_OUTOFMEMORY) return KEL_ERROR_GENERAL;
  if (result == E_NOTIMPL) return KEL_ERROR_UNSUPPORTED_METHOD;
  return KEL_ERROR_DATA;
}

}  // namespace

void ExtractSelectedItems(const TExtractRequest& request) {
  if (request.folders != KEL_FOLDERS_KEEP && request.folders != KEL_FOLDERS_FLAT) {
    throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
  }
  if (!request.selection) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
  const std::wstring destination = CheckedDestination(request.destination);

  TPasswordSource passwords(request.password, request.passwordCallback);
  const TOpenArchive archive(request.archivePath, passwords);
  const std::vector<TArchiveEntry> entries = archive.ReadEntries();
  const TTargets targets = PlanTargets(entries, SelectedIndices(entries, *request.selection), destination,
                                       request.folders == KEL_FOLDERS_FLAT);
  CreateFolderTree(destination);
  if (targets.empty()) return;

  std::vector<UInt32> indices;
  for (const auto& [index, target] : targets) indices.push_back(index);
  auto* callback = new TExtractCallback(targets, request, passwords);
  const CMyComPtr<IArchiveExtractCallback> keep(callback);
  const HRESULT result =
      archive.Handler().Extract(indices.data(), static_cast<UInt32>(indices.size()), 0, callback);
  if (callback->Failure() != 0) throw TKelFailure(callback->Failure());
  if (result != S_OK) throw TKelFailure(FailureOfExtract(result, passwords));
  if (!callback->HandledAll()) throw TKelFailure(KEL_ERROR_DATA);
}

}  // namespace corvane::kel
