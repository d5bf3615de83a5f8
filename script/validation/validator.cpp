#include "script/validation/validator.h"

#include "script/validation/deferred_commands.h"
#include "script/validation/predefined_names.h"
#include "script/text_rules.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>
#include <utility>

namespace corvane {
namespace {

constexpr std::string_view kVariableRequired = "Variable required";
constexpr std::string_view kVariableNotDefined = "Variable not defined: ";
constexpr std::string_view kLabelNested = "LABEL statements cannot be nested inside loops/conditionals";
constexpr std::string_view kLabelRedefined = "LABEL re-defined: ";
constexpr std::string_view kLabelUndefined = "LABEL undefined: ";
constexpr std::string_view kInsufficientEnds = "Insufficient END statements";
constexpr std::string_view kTooManyEnds = "Too many END statements";
constexpr std::string_view kElseWithoutIf = "ELSE statement without matching IF";
constexpr std::string_view kIllegalMediaName = "Web Media Block name must be a legal file name";
constexpr std::string_view kMissingMediaUrl = "Web Media Block must have a download URL";
constexpr std::string_view kNoDialogName = "Dialog name not specified";
constexpr std::string_view kNoDeleteMode = "At least one delete mode must be selected";
constexpr std::string_view kNoTargetFolder =
    "A target folder must be specified for files that are being installed.\r"
    "The value $TARGETDIR$ represents the destination folder chosen by the user.";
constexpr std::string_view kOnlyDialogsInWizardLoop =
    "Statements other than DISPLAY DIALOG not allowed inside WIZARD LOOP";

enum class TCheck {
  DefineLines,      // define `line`, then `secondLine` when set
  RequiredResult,   // `line` must not be empty; define it
  WebMediaBlock,
  Condition,
  DisplayDialog,
  InPlaceVariable,  // line 1 is the bare name of an existing variable
  GoToLabel,
  DeleteModes,
  InstallTarget,
};

struct TCommandRule {
  std::string_view command;
  TCheck check;
  std::size_t line = 0;
  std::size_t secondLine = 0;
};

constexpr std::array kCommandRules = {
    TCommandRule{"Web Media Block", TCheck::WebMediaBlock},
    TCommandRule{"Is MSI Setup Installed", TCheck::RequiredResult, 2},
    TCommandRule{"Find All Files", TCheck::RequiredResult, 4},
    TCommandRule{"Check Disk Space", TCheck::RequiredResult, 1},
    TCommandRule{"If", TCheck::Condition},
    TCommandRule{"Else If", TCheck::Condition},
    TCommandRule{"Display Dialog", TCheck::DisplayDialog},
    TCommandRule{"Convert Path", TCheck::InPlaceVariable},
    TCommandRule{"Convert Case", TCheck::InPlaceVariable},
    TCommandRule{"Extract Path", TCheck::InPlaceVariable},
    TCommandRule{"Replace String", TCheck::InPlaceVariable},
    TCommandRule{"GoTo Label", TCheck::GoToLabel},
    TCommandRule{"Delete Files", TCheck::DeleteModes},
    TCommandRule{"Install Files", TCheck::InstallTarget},
    TCommandRule{"Get Folder Location", TCheck::DefineLines, 1},
    TCommandRule{"Get INI File Settings", TCheck::DefineLines, 1},
    TCommandRule{"Check File Version", TCheck::DefineLines, 1},
    TCommandRule{"Get System Settings", TCheck::DefineLines, 1},
    TCommandRule{"Read Registry", TCheck::DefineLines, 1},
    TCommandRule{"Does File/Folder Exist", TCheck::DefineLines, 1},
    TCommandRule{"Set Variable", TCheck::DefineLines, 1},
    TCommandRule{"Get Temporary File", TCheck::DefineLines, 1},
    TCommandRule{"IIS Anonymous User", TCheck::DefineLines, 1},
    TCommandRule{"Apply Patch", TCheck::DefineLines, 1},
    TCommandRule{"Run Light Mode Setup", TCheck::DefineLines, 2},
    TCommandRule{"Get File Version", TCheck::DefineLines, 2},
    TCommandRule{"Get Environment", TCheck::DefineLines, 2},
    TCommandRule{"Get IIS Site Index", TCheck::DefineLines, 2},
    TCommandRule{"Check Process", TCheck::DefineLines, 2},
    TCommandRule{"Apply Changes", TCheck::DefineLines, 2},
    TCommandRule{"Get Component State", TCheck::DefineLines, 2},
    TCommandRule{"Extract 7Zip Archive", TCheck::DefineLines, 3},
    TCommandRule{"Check Service", TCheck::DefineLines, 3},
    TCommandRule{"Register Library", TCheck::DefineLines, 3},
    TCommandRule{"Mathematics", TCheck::DefineLines, 4},
    TCommandRule{"Run Program", TCheck::DefineLines, 5},
    TCommandRule{"MessageBox", TCheck::DefineLines, 5},
    TCommandRule{"Get IIS Property", TCheck::DefineLines, 6},
    TCommandRule{"Run Program As", TCheck::DefineLines, 8},
    TCommandRule{"Read from Text File", TCheck::DefineLines, 2, 3},
    TCommandRule{"Parse String", TCheck::DefineLines, 3, 4},
};

const TCommandRule* FindRule(std::string_view command) {
  const auto* rule = std::find_if(kCommandRules.begin(), kCommandRules.end(),
                                  [command](const TCommandRule& r) { return r.command == command; });
  return rule == kCommandRules.end() ? nullptr : rule;
}

// The part after the last backslash or colon must be usable as a file name;
// neither separator can occur in that part.
bool IsLegalFileName(std::string_view name) {
  const std::size_t separator = name.find_last_of("\\:");
  const std::string_view fileName = separator == std::string_view::npos ? name : name.substr(separator + 1);
  return fileName.find_first_of("/*?\"<>|") == std::string_view::npos;
}

std::string Concat(std::string_view prefix, std::string_view text) {
  std::string message(prefix);
  message += text;
  return message;
}

struct TFailure {
  std::size_t index;
  std::string message;
};

using TLineCheck = std::optional<std::string>;  // the failure message, if any

class TValidationPasses {
public:
  TValidationPasses(const TScriptContainer& script, TKnownVariables& names) : script_(script), names_(names) {}

  std::optional<TFailure> Run() {
    names_.Clear();
    for (std::string_view name : PredefinedVariableNames()) {
      names_.Define(name);
    }
    if (auto failure = CheckStructure()) {
      return failure;
    }
    if (auto failure = CollectLabels()) {
      return failure;
    }
    if (auto failure = CheckCommands()) {
      return failure;
    }
    return CheckWizardLoops();
  }

private:
  std::size_t LineCount() const { return script_.CommandCount(); }

  bool IsActive(std::size_t index, std::string_view command) const {
    return !script_.Disabled(index) && script_.Name(index) == command;
  }

  std::string Line(std::size_t index, std::size_t n) const { return script_.Parameter(script_.Guid(index), n); }

  // Disabled lines never count for the block structure.
  std::optional<TFailure> CheckStructure() const {
    std::size_t opens = 0;
    std::size_t closes = 0;
    std::ptrdiff_t depth = 0;
    bool endBeforeOpener = false;
    for (std::size_t i = 0; i < LineCount(); ++i) {
      if (script_.Disabled(i)) {
        continue;
      }
      const std::string& name = script_.Name(i);
      if (name == "If" || name == "Wizard Loop") {
        ++opens;
        ++depth;
      } else if (name == "End") {
        ++closes;
        endBeforeOpener = endBeforeOpener || depth == 0;
        --depth;
      } else if (name == "Label" && depth != 0) {
        return TFailure{i, std::string(kLabelNested)};
      } else if ((name == "Else" || name == "Else If") && depth <= 0) {
        // At run time its search for the closing End would run off the script.
        return TFailure{i, std::string(kElseWithoutIf)};
      }
    }
    if (opens != closes) {
      return TFailure{LineCount() - 1, std::string(closes < opens ? kInsufficientEnds : kTooManyEnds)};
    }
    // Balanced counts can still close a block before one is open.
    if (endBeforeOpener) {
      return TFailure{LineCount() - 1, std::string(kTooManyEnds)};
    }
    return std::nullopt;
  }

  // Disabled labels count too: a GoTo may name one.
  std::optional<TFailure> CollectLabels() {
    for (std::size_t i = 0; i < LineCount(); ++i) {
      if (script_.Name(i) != "Label") {
        continue;
      }
      const std::string label = Line(i, 1);
      if (!labels_.insert(UpperCase(label)).second) {
        return TFailure{i, Concat(kLabelRedefined, label)};
      }
    }
    return std::nullopt;
  }

  std::optional<TFailure> CheckCommands() {
    for (std::size_t i = 0; i < LineCount(); ++i) {
      if (script_.Disabled(i) || script_.Name(i) == "Comment") {
        continue;
      }
      if (const TCommandRule* rule = FindRule(script_.Name(i))) {
        if (TLineCheck message = CheckCommand(i, *rule)) {
          return TFailure{i, std::move(*message)};
        }
      }
    }
    return std::nullopt;
  }

  TLineCheck CheckCommand(std::size_t index, const TCommandRule& rule) {
    switch (rule.check) {
      case TCheck::DefineLines:
        DefineLine(index, rule.line);
        if (rule.secondLine != 0) {
          DefineLine(index, rule.secondLine);
        }
        return std::nullopt;
      case TCheck::RequiredResult:
        if (Line(index, rule.line).empty()) {
          return std::string(kVariableRequired);
        }
        DefineLine(index, rule.line);
        return std::nullopt;
      case TCheck::WebMediaBlock:
        return CheckWebMediaBlock(index);
      case TCheck::Condition:
        return CheckCondition(index);
      case TCheck::DisplayDialog:
        return CheckDisplayDialog(index);
      case TCheck::InPlaceVariable: {
        const std::string variable = Line(index, 1);
        return names_.Exists(variable) ? TLineCheck() : Concat(kVariableNotDefined, variable);
      }
      case TCheck::GoToLabel: {
        const std::string label = Line(index, 1);
        return labels_.contains(UpperCase(label)) ? TLineCheck() : Concat(kLabelUndefined, label);
      }
      case TCheck::DeleteModes:
        return IsTrue(Line(index, 3)) || IsTrue(Line(index, 4)) ? TLineCheck() : std::string(kNoDeleteMode);
      case TCheck::InstallTarget:
        return Line(index, 3).empty() ? std::string(kNoTargetFolder) : TLineCheck();
    }
    return std::nullopt;
  }

  TLineCheck CheckWebMediaBlock(std::size_t index) const {
    const std::string name = Line(index, 1);
    if (!name.empty() && Line(index, 2).empty()) {
      return std::string(kMissingMediaUrl);
    }
    return IsLegalFileName(name) ? TLineCheck() : std::string(kIllegalMediaName);
  }

  TLineCheck CheckCondition(std::size_t index) const {
    const std::string variable = Line(index, 1);
    if (variable.empty()) {
      return std::string(kVariableRequired);
    }
    const std::string value = Line(index, 3);
    if (!IsDefinedValue(value)) {
      return Concat(kVariableNotDefined, value);
    }
    return NamesVariable(variable) ? TLineCheck() : Concat(kVariableNotDefined, variable);
  }

  TLineCheck CheckDisplayDialog(std::size_t index) {
    if (Line(index, 1).empty()) {
      return std::string(kNoDialogName);
    }
    DefineLine(index, 2);
    const std::string variable = Line(index, 4);
    return variable.empty() || NamesVariable(variable) ? TLineCheck() : Concat(kVariableNotDefined, variable);
  }

  // Only dialogs may stand between a Wizard Loop and its End: the loop steps
  // over everything else in both directions.
  std::optional<TFailure> CheckWizardLoops() const {
    bool insideLoop = false;
    for (std::size_t i = 0; i < LineCount(); ++i) {
      if (!insideLoop) {
        insideLoop = IsActive(i, "Wizard Loop");
      } else if (IsActive(i, "End")) {
        insideLoop = false;
      } else if (!AllowedInWizardLoop(i)) {
        return TFailure{i, std::string(kOnlyDialogsInWizardLoop)};
      }
    }
    return std::nullopt;
  }

  bool AllowedInWizardLoop(std::size_t index) const {
    const std::string& name = script_.Name(index);
    return script_.Disabled(index) || name == "Display Dialog" || name == "Comment" || name == "Ignore";
  }

  // The line as written: no substitution, no removal of "$" signs.
  void DefineLine(std::size_t index, std::size_t n) {
    const std::string name = Line(index, n);
    if (!name.empty() && !names_.Exists(name)) {
      names_.Define(UpperCase(name));
    }
  }

  bool NamesVariable(std::string_view text) const {
    const std::string_view reference = ReferenceName(text);
    return names_.Exists(text) || (!reference.empty() && names_.Exists(reference));
  }

  // Anything but a single token is literal text; a single token must name a variable.
  bool IsDefinedValue(std::string_view text) const {
    const std::string_view reference = ReferenceName(text);
    return reference.empty() || names_.Exists(reference);
  }

  const TScriptContainer& script_;
  TKnownVariables& names_;
  std::unordered_set<std::string> labels_;  // upper case
};

std::vector<std::string> LineResults(const TScriptContainer& script) {
  std::vector<std::string> results;
  results.reserve(script.CommandCount());
  for (std::size_t i = 0; i < script.CommandCount(); ++i) {
    const bool deferred = !script.Disabled(i) && IsDeferredCommand(script.Name(i));
    results.emplace_back(deferred ? kLineNotActivated : kLineSkipped);
  }
  return results;
}

}  // namespace

TValidationResult ValidateScript(const TScriptContainer& script, TKnownVariables& names) {
  TValidationResult result;
  result.lineResults = LineResults(script);
  if (std::optional<TFailure> failure = TValidationPasses(script, names).Run()) {
    result.index = static_cast<std::ptrdiff_t>(failure->index);
    result.message = std::move(failure->message);
  } else {
    result.message = kScriptCompiled;
  }
  return result;
}

TValidationResult ValidateScript(const TScriptContainer& script) {
  TKnownVariableSet names;
  return ValidateScript(script, names);
}

}  // namespace corvane
