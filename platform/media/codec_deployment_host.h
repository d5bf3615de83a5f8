// The codec deployment on Windows: the libraries come from this program's
// RT_RCDATA resources (the corvane_seven_zip_codecs object library).
#pragma once

#include "media/codec_deployment.h"

namespace corvane {

class TWinCodecDeploymentHost final : public TCodecDeploymentHost {
public:
  std::string ShellFolder(TShellFolder kind) override;
  bool CreateFolderTree(const std::string& folder) override;
  bool WriteResource(std::string_view resource, const std::string& path) override;
  void StoreCodecFolder(const std::string& folder) override;
};

// What the engine runs first thing when the process starts; its result is
// of no interest.
void DeploySevenZipCodecsAtStart();

}  // namespace corvane
