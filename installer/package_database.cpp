#include "installer/package_database.h"

#include <utility>

namespace corvane {
namespace {

// Closes the view before its handle, however the statement ended.
class TOpenView {
public:
  TOpenView(TInstallerApi& api, TInstallerHandle view) : api_(api), view_(std::move(view)) {}
  TOpenView(const TOpenView&) = delete;
  TOpenView& operator=(const TOpenView&) = delete;
  ~TOpenView() {
    try {
      api_.ViewClose(view_.Get());
    } catch (...) {
      // The handle's own closing still releases the view.
    }
  }
  TInstallerHandleValue Get() const { return view_.Get(); }

private:
  TInstallerApi& api_;
  TInstallerHandle view_;
};

}  // namespace

std::optional<TPackageDatabase> TPackageDatabase::OpenDirect(TInstallerApi& api, const std::string& path) {
  TInstallerReply<TInstallerHandle> database = api.OpenDatabase(path, TDatabaseOpenMode::Direct);
  if (!database.Succeeded() || !database.value) {
    return std::nullopt;
  }
  return TPackageDatabase(api, std::move(database.value));
}

bool TPackageDatabase::Run(const std::string& statement, std::initializer_list<std::string> parameters) {
  TInstallerReply<TInstallerHandle> opened = api_->DatabaseOpenView(database_.Get(), statement);
  if (!opened.Succeeded()) {
    return false;
  }
  const TOpenView view(*api_, std::move(opened.value));
  if (parameters.size() == 0) {
    return api_->ViewExecute(view.Get()) == kInstallerSuccess;
  }
  const TInstallerHandle record = api_->CreateRecord(static_cast<unsigned>(parameters.size()));
  if (!record) {
    return false;
  }
  unsigned field = 1;
  for (const std::string& parameter : parameters) {
    if (api_->RecordSetString(record.Get(), field++, parameter) != kInstallerSuccess) {
      return false;
    }
  }
  return api_->ViewExecuteWithParameters(view.Get(), record.Get()) == kInstallerSuccess;
}

void TPackageDatabase::ReplaceEveryValue(const std::string& selectStatement,
                                         const std::function<std::string()>& newValue) {
  TInstallerReply<TInstallerHandle> opened = api_->DatabaseOpenView(database_.Get(), selectStatement);
  if (!opened.Succeeded()) {
    return;
  }
  const TOpenView view(*api_, std::move(opened.value));
  if (api_->ViewExecute(view.Get()) != kInstallerSuccess) {
    return;
  }
  // Until the end of the rows, or anything else that stops the fetch.
  for (TInstallerReply<TInstallerHandle> row = api_->ViewFetch(view.Get()); row.Succeeded();
       row = api_->ViewFetch(view.Get())) {
    if (api_->RecordSetString(row.value.Get(), 1, newValue()) == kInstallerSuccess) {
      api_->ViewModify(view.Get(), TViewModifyMode::Update, row.value.Get());
    }
  }
}

bool TPackageDatabase::SetPackageCode(const std::string& packageCode) {
  const TInstallerReply<TInstallerHandle> summary = api_->GetSummaryInformation(database_.Get(), 1);
  if (!summary.Succeeded()) {
    return false;
  }
  return api_->SummaryInfoSetString(summary.value.Get(), kSummaryRevisionNumber, packageCode) == kInstallerSuccess &&
         api_->SummaryInfoPersist(summary.value.Get()) == kInstallerSuccess;
}

bool TPackageDatabase::Commit() { return api_->DatabaseCommit(database_.Get()) == kInstallerSuccess; }

}  // namespace corvane
