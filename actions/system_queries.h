// What the string, path and arithmetic commands ask of the system. Every
// failure is an answer (none, empty text), never an error.
#pragma once

#include <optional>
#include <string>

#include "actions/case_mapping.h"
#include "launcher/file_version.h"

namespace corvane {

class TSystemQueries : public TCaseMapping {
public:
  // The fixed file information of the file's version resource; none when the
  // file is missing or has no version resource.
  virtual std::optional<TFileVersion> FileVersion(const std::string& path) const = 0;
  // The 8.3 form of an existing path; empty when the path does not exist.
  virtual std::string ShortPath(const std::string& path) const = 0;
  // The name, as stored on disk, of the last component of an existing path.
  virtual std::optional<std::string> EntryName(const std::string& path) const = 0;
  // "%NAME%" references expanded; undefined names stay as written.
  virtual std::string ExpandEnvironment(const std::string& text) const = 0;
  // The user's temporary folder, with a trailing backslash.
  virtual std::string TemporaryFolder() const = 0;
  // A new, empty file named prefix + a unique hexadecimal number + ".tmp";
  // its full path, or none when it cannot be created.
  virtual std::optional<std::string> CreateTemporaryFile(const std::string& folder,
                                                         const std::string& prefix) const = 0;
};

}  // namespace corvane
