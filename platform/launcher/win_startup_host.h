// The start-up sequence's view of Windows.
#pragma once

#include <functional>

#include "launcher/startup_host.h"

namespace corvane {

class TWinStartupHost : public TStartupHost {
public:
  using TExtractor = std::function<bool(const std::string& archive, const std::string& destination)>;
  explicit TWinStartupHost(TExtractor extractor) : extractor_(std::move(extractor)) {}

  TFileVersion EngineVersion() override;
  void RestrictToFirstProcessor() override;
  std::string EnginePath() override;
  std::string TemporaryFolder() override;
  std::vector<std::string> Arguments() override;
  std::string RawCommandLine() override;
  std::optional<TFileVersion> CommonControlsVersion() override;
  std::unique_ptr<TPreparationWindows> ShowPreparation(const std::string& splashPicture,
                                                       const TMessageTable& messages) override;
  void ShowError(const std::string& caption, const std::string& text, bool ownedByPreparation) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  TFolderCreation CreateFolder(const std::string& path) override;
  void CopyAsNormalFile(const std::string& from, const std::string& to) override;
  bool ExtractArchive(const std::string& archive, const std::string& destination) override;
  void DeleteFolderTree(const std::string& folder) override;

private:
  TExtractor extractor_;
  void* preparationWindow_ = nullptr;
};

}  // namespace corvane
