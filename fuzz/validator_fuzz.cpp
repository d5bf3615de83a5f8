// Arbitrary bytes as a script for the validator: as container bytes when they
// parse, and always through a compact line encoding that reaches every check
// without a well-formed container. Validation must finish, and a script it
// passes must have the structure the interpreter relies on.
#include "launcher/script_container.h"
#include "script/validation/deferred_commands.h"
#include "script/text_rules.h"
#include "script/validation/validator.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using corvane::TContainerSections;
using corvane::TScriptContainer;
using corvane::TValidationResult;

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

constexpr std::array<std::string_view, 52> kCommands = {
    "If", "Else If", "Else", "End", "Wizard Loop", "Label", "GoTo Label", "Display Dialog", "Comment", "Ignore",
    "MessageBox", "Set Variable", "Web Media Block", "Is MSI Setup Installed", "Find All Files",
    "Check Disk Space", "Convert Path", "Convert Case", "Extract Path", "Replace String", "Delete Files",
    "Install Files", "Get Folder Location", "Get INI File Settings", "Check File Version",
    "Get System Settings", "Read Registry", "Does File/Folder Exist", "Get Temporary File",
    "IIS Anonymous User", "Apply Patch", "Run Light Mode Setup", "Get File Version", "Get Environment",
    "Get IIS Site Index", "Check Process", "Apply Changes", "Get Component State", "Extract 7Zip Archive",
    "Check Service", "Register Library", "Mathematics", "Run Program", "Get IIS Property", "Run Program As",
    "Read from Text File", "Parse String", "Write Registry", "Create Shortcut", "Hide Dialog",
    "Code Folding Region", "",
};

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// One script line per input line: a command byte, a flags byte (bit 0
// disabled, bit 1 share the previous line's GUID, bit 2 no parameter block),
// then the parameter lines separated by '|'.
TScriptContainer DecodeScript(std::string_view bytes) {
  TContainerSections sections;
  for (std::string_view line : Split(bytes, '\n')) {
    if (line.size() < 2) {
      continue;
    }
    const auto flags = static_cast<unsigned char>(line[1]);
    const std::size_t index = sections.commandNames.size();
    const bool sharesGuid = (flags & 2) != 0 && index > 0;
    const std::string guid = sharesGuid ? sections.commandGuids.back() : "{" + std::to_string(index) + "}";
    sections.commandNames.emplace_back(kCommands[static_cast<unsigned char>(line[0]) % kCommands.size()]);
    sections.commandGuids.push_back(guid);
    sections.disabledMarks.emplace_back((flags & 1) != 0 ? "C" : "");
    if ((flags & 4) == 0) {
      sections.parameterBlocks.push_back(guid);
      for (std::string_view parameter : Split(line.substr(2), '|')) {
        sections.parameterBlocks.emplace_back(parameter);
      }
    }
  }
  return TScriptContainer(std::move(sections));
}

bool Active(const TScriptContainer& script, std::size_t i, std::string_view name) {
  return !script.Disabled(i) && script.Name(i) == name;
}

// What the interpreter takes for granted once a script has passed.
void CheckPassedStructure(const TScriptContainer& script) {
  std::unordered_set<std::string> labels;
  for (std::size_t i = 0; i < script.CommandCount(); ++i) {
    if (script.Name(i) == "Label") {
      labels.insert(corvane::UpperCase(script.Parameter(script.Guid(i), 1)));
    }
  }
  std::ptrdiff_t depth = 0;
  bool insideWizardLoop = false;
  for (std::size_t i = 0; i < script.CommandCount(); ++i) {
    const std::string& name = script.Name(i);
    if (insideWizardLoop && !Active(script, i, "End")) {
      Check(script.Disabled(i) || name == "Display Dialog" || name == "Comment" || name == "Ignore");
    }
    if (script.Disabled(i)) {
      continue;
    }
    if (name == "If" || name == "Wizard Loop") {
      ++depth;
      insideWizardLoop = name == "Wizard Loop";
    } else if (name == "End") {
      Check(depth > 0);
      --depth;
      insideWizardLoop = false;
    } else if (name == "Else" || name == "Else If") {
      Check(depth > 0);
    } else if (name == "Label") {
      Check(depth == 0);
    } else if (name == "GoTo Label") {
      Check(labels.contains(corvane::UpperCase(script.Parameter(script.Guid(i), 1))));
    }
  }
  Check(depth == 0);
}

void CheckValidation(const TScriptContainer& script) {
  const TValidationResult result = corvane::ValidateScript(script);
  const auto count = static_cast<std::ptrdiff_t>(script.CommandCount());
  Check(result.index >= -1 && result.index < count);
  Check(result.Ok() == (result.message == corvane::kScriptCompiled));
  Check(!result.message.empty());
  Check(result.lineResults.size() == script.CommandCount());
  for (std::size_t i = 0; i < script.CommandCount(); ++i) {
    const bool deferred = !script.Disabled(i) && corvane::IsDeferredCommand(script.Name(i));
    Check(result.lineResults[i] == (deferred ? corvane::kLineNotActivated : corvane::kLineSkipped));
  }
  if (result.Ok()) {
    CheckPassedStructure(script);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    CheckValidation(TScriptContainer::Parse(bytes));
  } catch (const corvane::TContainerError&) {
    // Not a container; the line encoding below still runs.
  }
  CheckValidation(DecodeScript(bytes));
  return 0;
}
