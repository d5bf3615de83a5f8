// What the start of a run asks of the machine it runs on, so that the run's
// initialisation and the product-instance logic are tested with fakes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "script/script_host.h"

namespace corvane {

// The shell folders the instance logic places things in.
enum class TShellFolder {
  Desktop,            // the current user's
  CommonDesktop,      // all users'
  ProgramFiles,
  CommonProgramFiles,
  Documents,          // the current user's
};

class TSetupSystem {
public:
  virtual ~TSetupSystem() = default;

  // With a trailing backslash.
  virtual std::string TemporaryFolder() = 0;
  // major.minor.release.build
  virtual std::string EngineVersion() = 0;
  // The Windows NT family, as against the 9x family.
  virtual bool IsNtFamily() = 0;
  // A member of the administrators; on the 9x family every user is.
  virtual bool IsAdministrator() = 0;
  // Empty when the shell cannot give it.
  virtual std::string ShellFolder(TShellFolder folder) = 0;
  // The string value, or nothing when the key or value cannot be read.
  virtual std::optional<std::string> ReadRegistryString(TRegistryRoot root, const std::string& key,
                                                        const std::string& value) = 0;
  // Under SOFTWARE\Microsoft\Windows\CurrentVersion\Run, created when
  // missing; failures are ignored.
  virtual void DeleteRunValue(TRegistryRoot root, const std::string& name) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
  // In the system's ANSI letter case mapping.
  virtual std::string LowerCase(std::string_view text) = 0;
  // A fresh GUID in registry form: braces, upper case.
  virtual std::string NewGuid() = 0;
};

}  // namespace corvane
