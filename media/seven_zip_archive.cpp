#include "media/seven_zip_archive.h"

#include <exception>
#include <utility>

#include "media/archive_errors.h"

namespace corvane {
namespace {

// The callbacks of one operation, with the defaults for those not given. The
// stored password belongs to the operation, so it is offered once per
// operation and never leaks into the next one.
class TOperationCallbacks final : public TArchiveCallbacks {
public:
  TOperationCallbacks(const std::string& password, const TArchivePasswordCallback& passwordCallback,
                      const TArchiveProgressCallback& progressCallback, bool overwriteAnswer)
      : passwordCallback_(passwordCallback), progressCallback_(progressCallback), overwriteAnswer_(overwriteAnswer) {
    if (!password.empty()) storedPassword_ = password;
  }

  std::optional<std::string> Password() override {
    if (passwordCallback_) return passwordCallback_();
    return std::exchange(storedPassword_, std::nullopt);
  }
  bool Progress(const std::string& itemPath, uint64_t done, uint64_t total) override {
    return !progressCallback_ || progressCallback_(itemPath, done, total);
  }
  int32_t OverwriteAnswer() override {
    return overwriteAnswer_ ? kArchiveAnswerReplaceAll : kArchiveAnswerKeepExisting;
  }

private:
  TArchivePasswordCallback passwordCallback_;
  TArchiveProgressCallback progressCallback_;
  bool overwriteAnswer_;
  std::optional<std::string> storedPassword_;
};

void ClearGiven(const TArchiveListing& lists) {
  for (std::vector<std::string>* list : {lists.names, lists.attributes, lists.sizes, lists.packedSizes, lists.dates}) {
    if (list) list->clear();
  }
}

void AppendTo(std::vector<std::string>* list, std::string text) {
  if (list) list->push_back(std::move(text));
}

}  // namespace

bool SevenZipListArchive(TArchiveLibrary& library, const std::string& archivePath, const std::string& password,
                         std::string& errorText, const TArchivePasswordCallback& passwordCallback,
                         const TArchiveListing& lists) {
  errorText.clear();
  try {
    ClearGiven(lists);
    TOperationCallbacks callbacks(password, passwordCallback, nullptr, false);
    const std::optional<std::vector<TArchiveListEntry>> entries = library.List(archivePath, password, callbacks);
    if (!entries) {
      errorText = ListFailureText(library.LastError());
      return false;
    }
    for (const TArchiveListEntry& entry : *entries) {
      AppendTo(lists.names, entry.path);
      AppendTo(lists.attributes, std::to_string(entry.attributes));
      AppendTo(lists.sizes, std::to_string(entry.size));
      AppendTo(lists.packedSizes, std::to_string(entry.packedSize));
      AppendTo(lists.dates, entry.dateText);
    }
    return true;
  } catch (const std::exception& error) {
    errorText = error.what();
    return false;
  }
}

bool SevenZipExtractArchive(TArchiveLibrary& library, const TArchiveExtraction& extraction, std::string& errorText) {
  errorText.clear();
  try {
    std::vector<std::string> everyItem;
    if (!extraction.fileList && !SevenZipListArchive(library, extraction.archivePath, extraction.password, errorText,
                                                     extraction.passwordCallback, {.names = &everyItem})) {
      return false;
    }
    const std::vector<std::string>& selection = extraction.fileList ? *extraction.fileList : everyItem;
    TOperationCallbacks callbacks(extraction.password, extraction.passwordCallback, extraction.progressCallback,
                                  extraction.overwriteAnswer);
    const uint32_t folders = extraction.folderFlag ? kArchiveKeepFolders : kArchiveFlatFolders;
    if (library.Extract(extraction.archivePath, extraction.destination, selection, folders, extraction.password,
                        callbacks)) {
      return true;
    }
    errorText = ExtractFailureText(library.LastError());
    return false;
  } catch (const std::exception& error) {
    errorText = error.what();
    return false;
  }
}

}  // namespace corvane
