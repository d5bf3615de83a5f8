#include "launcher/command_line.h"

#include <algorithm>
#include <cctype>

namespace corvane {
namespace {

std::string Lower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

bool Contains(std::string_view lowered, std::string_view needle) {
  return lowered.find(needle) != std::string_view::npos;
}

// An option's value is the argument less its first three characters, which
// assumes the option stands at the start; that is how authors write it.
std::string OptionValue(std::string_view argument) {
  return std::string(argument.size() > 3 ? argument.substr(3) : std::string_view{});
}

}  // namespace

std::string ArgumentsText(std::string_view raw) {
  if (!raw.empty() && raw.front() == '"') {
    auto close = raw.find('"', 1);
    if (close == std::string_view::npos) return {};
    std::size_t start = close + 2;  // the quote and the separator after it
    return start < raw.size() ? std::string(raw.substr(start)) : std::string{};
  }
  auto space = raw.find(' ');
  return space == std::string_view::npos ? std::string{} : std::string(raw.substr(space + 1));
}

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::string_view raw) {
  TCommandLine line;
  line.argumentsText = ArgumentsText(raw);
  bool haveSelfExtractor = false, haveLog = false, haveCache = false, haveKey = false;
  for (const std::string& argument : arguments) {
    std::string lowered = Lower(argument);
    if (lowered == "/s" || lowered == "-s") {
      line.silent = true;
    } else if (Contains(lowered, "/m=")) {
      if (!haveSelfExtractor) line.selfExtractorPath = OptionValue(lowered);
      haveSelfExtractor = true;
    } else if (Contains(lowered, "/l=") || Contains(lowered, "-l=")) {
      if (!haveLog) line.logPath = OptionValue(lowered);
      haveLog = true;
    } else if (Contains(lowered, "/p=") || Contains(lowered, "-p=")) {
      if (!haveCache) line.cachedSetupFolder = OptionValue(lowered);
      haveCache = true;
    } else if (Contains(lowered, "/k=") || Contains(lowered, "-k=")) {
      if (!haveKey) line.archiveKey = OptionValue(argument);
      haveKey = true;
    } else if (!argument.empty() && argument.front() != '/' && argument.front() != '-') {
      auto eq = argument.find('=');
      if (eq != std::string::npos) line.overrides.emplace_back(argument.substr(0, eq), argument.substr(eq + 1));
    }
  }
  return line;
}

}  // namespace corvane
