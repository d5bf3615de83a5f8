// The string, path and arithmetic commands' questions, answered by Windows.
#pragma once

#include "actions/system_queries.h"

namespace corvane {

class TWindowsSystemQueries : public TSystemQueries {
public:
  // The system's ANSI code page mapping.
  std::string Upper(std::string_view text) const override;
  std::string Lower(std::string_view text) const override;
  std::optional<TFileVersion> FileVersion(const std::string& path) const override;
  std::string ShortPath(const std::string& path) const override;
  std::optional<std::string> EntryName(const std::string& path) const override;
  std::string ExpandEnvironment(const std::string& text) const override;
  std::string TemporaryFolder() const override;
  std::optional<std::string> CreateTemporaryFile(const std::string& folder, const std::string& prefix) const override;
};

}  // namespace corvane
