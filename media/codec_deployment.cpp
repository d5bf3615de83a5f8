#include "media/codec_deployment.h"

#include <exception>

namespace corvane {
namespace {

std::string WithTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ParentFolder(std::string folder) {
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace

std::string PerUserDataFolder(TCodecDeploymentHost& host) {
  for (const TShellFolder kind : {TShellFolder::LocalAppData, TShellFolder::AppData}) {
    const std::string folder = host.ShellFolder(kind);
    if (!folder.empty()) return WithTrailingBackslash(folder);
  }
  const std::string besideDesktop = ParentFolder(host.ShellFolder(TShellFolder::Desktop));
  return besideDesktop.empty() ? std::string() : besideDesktop + "Application Data\\";
}

bool DeploySevenZipCodecs(TCodecDeploymentHost& host) {
  try {
    const std::string dataFolder = PerUserDataFolder(host);
    if (dataFolder.empty()) return false;
    const std::string sevenZip = dataFolder + "Seven Zip\\";
    if (!host.CreateFolderTree(sevenZip + "Codecs") || !host.CreateFolderTree(sevenZip + "Formats")) return false;
    for (const TCodecFile& row : kCodecFiles) {
      if (!host.WriteResource(row.resource, sevenZip + std::string(row.file))) return false;
    }
    host.StoreCodecFolder(sevenZip);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace corvane
