#include "installer/package_preparation.h"

#include "installer/package_database.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

void RenewComponentCodes(TInstallerApi& api, const std::string& packagePath, const TGuidSource& newGuid) {
  std::optional<TPackageDatabase> database = TPackageDatabase::OpenDirect(api, packagePath);
  if (!database) {
    return;
  }
  database->ReplaceEveryValue("SELECT `ComponentId` FROM `Component`", newGuid);
  database->Commit();
}

void WriteProperty(TPackageDatabase& database, const std::string& name, const std::string& value) {
  // The insert creates a property the package lacks and fails for one it has;
  // the update then sets the value either way.
  database.Run("INSERT INTO `Property` (`Property`, `Value`) VALUES (?, ?)", {name, value});
  database.Run("UPDATE `Property` SET `Value` = ? WHERE `Property` = ?", {value, name});
}

}  // namespace

std::optional<std::string> PreparePackage(TInstallerApi& api, const std::string& packagePath,
                                          TPackagePropertyQueue& queue,
                                          const std::optional<TNewInstanceCodes>& newInstance,
                                          const TGuidSource& newGuid) {
  if (newInstance) {
    RenewComponentCodes(api, packagePath, newGuid);
  }
  if (queue.empty()) {
    return std::nullopt;
  }
  std::optional<TPackageDatabase> database = TPackageDatabase::OpenDirect(api, packagePath);
  if (!database) {
    return std::nullopt;
  }
  bool identityWritten = false;
  for (std::size_t i = 0; i < queue.size(); ++i) {
    if (newInstance && i + 1 == queue.size()) {
      database->SetPackageCode(newInstance->packageCode);
      database->Run("UPDATE `Property` SET `Value` = ? WHERE `Property` = 'ProductCode'", {newInstance->productCode});
      identityWritten = true;
    }
    WriteProperty(*database, NewlineDecode(queue[i].first), NewlineDecode(queue[i].second));
  }
  if (!database->Commit()) {
    return std::nullopt;
  }
  queue.clear();
  return identityWritten ? std::optional<std::string>(packagePath) : std::nullopt;
}

void ApplyShortcutTexts(TInstallerApi& api, const std::string& packagePath, const std::vector<TShortcutText>& texts) {
  std::optional<TPackageDatabase> database = TPackageDatabase::OpenDirect(api, packagePath);
  if (!database) {
    return;
  }
  for (const TShortcutText& text : texts) {
    database->Run("UPDATE `Shortcut` SET `Name` = ? WHERE `Directory_` = ?", {text.name, text.directory});
    database->Run("UPDATE `Shortcut` SET `Description` = ? WHERE `Directory_` = ?", {text.description, text.directory});
  }
  database->Commit();
}

void ApplyProgIdTexts(TInstallerApi& api, const std::string& packagePath, const std::vector<TProgIdText>& texts) {
  std::optional<TPackageDatabase> database = TPackageDatabase::OpenDirect(api, packagePath);
  if (!database) {
    return;
  }
  for (const TProgIdText& text : texts) {
    database->Run("UPDATE `ProgId` SET `Description` = ? WHERE `ProgId` = ?", {text.description, text.written});
    // Installers refuse to change a primary key by UPDATE; the row then keeps
    // the key the package's Extension and Class rows refer to.
    database->Run("UPDATE `ProgId` SET `ProgId` = ? WHERE `ProgId` = ?", {text.progId, text.written});
  }
  database->Commit();
}

std::optional<std::string> PreparePackageDatabase(TInstallerApi& api, const std::string& packagePath,
                                                  TDeferredRecords& records, const TPackagePreparation& preparation) {
  if (preparation.languageActive) {
    ApplyShortcutTexts(api, packagePath, records.shortcutTexts);
    ApplyProgIdTexts(api, packagePath, records.progIdTexts);
  }
  return PreparePackage(api, packagePath, records.packageQueue, preparation.newInstance, preparation.newGuid);
}

}  // namespace corvane
