// At process start the engine writes 7-Zip's codec and format libraries,
// carried as resources, into the per-user "Seven Zip" folder and records the
// folder in the registry, where kel.dll looks for them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace corvane {

struct TCodecFile {
  std::string_view resource;  // RT_RCDATA name in the engine
  std::string_view file;      // below the Seven Zip folder
};

inline constexpr std::array<TCodecFile, 7> kCodecFiles = {{
    {"CODECAES", "Codecs\\Aes.dll"},
    {"CODEC7ZAES", "Codecs\\7zAes.dll"},
    {"CODECBRANCH", "Codecs\\Branch.dll"},
    {"CODECCOPY", "Codecs\\Copy.dll"},
    {"CODECLZMA", "Codecs\\LZMA.dll"},
    {"CODECSWAP", "Codecs\\Swap.dll"},
    {"FORMAT7Z", "Formats\\7z.dll"},
}};

enum class TShellFolder { LocalAppData, AppData, Desktop };

class TCodecDeploymentHost {
public:
  virtual ~TCodecDeploymentHost() = default;
  // The shell's folder of that kind; empty when it has none.
  virtual std::string ShellFolder(TShellFolder kind) = 0;
  // Creates the folder with its parents; true when it exists afterwards.
  virtual bool CreateFolderTree(const std::string& folder) = 0;
  // Replaces the file (whatever its attributes) with the whole resource;
  // true only when all of it was written.
  virtual bool WriteResource(std::string_view resource, const std::string& path) = 0;
  // The "Path" value under HKEY_CURRENT_USER\SOFTWARE\Tessaly\Corvane\Seven Zip.
  virtual void StoreCodecFolder(const std::string& folder) = 0;
};

// The per-user application data folder with a trailing backslash: the local
// one, else the roaming one, else "Application Data\" beside the desktop;
// empty when the shell gives none of them.
std::string PerUserDataFolder(TCodecDeploymentHost& host);

// Deploys the table in order and stops at the first row that fails; the
// registry value is stored only when all rows succeeded. Never throws;
// returns whether the value was stored.
bool DeploySevenZipCodecs(TCodecDeploymentHost& host);

}  // namespace corvane
