// Everything a script computes: ordered (NAME, VALUE) pairs of text, names
// compared without regard to letter case. One lock guards every operation,
// since plug-in exchanges, dialogs and workers read the store while the
// interpreter runs; no call into another part is made under it.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/message_table.h"
#include "script/engine_flags.h"
#include "script/name_index.h"
#include "script/variable.h"

namespace corvane {

// The one phase text that changes behaviour: the run's start writing the
// command-line overrides, which their protection must let through.
inline constexpr std::string_view kPhaseInjectOverride = "Inject Override Command Line";
// A reference to a variable that does not exist.
inline constexpr std::string_view kUnresolvedReference = "$ZOLTNX$";

class TVariableStore {
public:
  // overrideNames: the NAMEs of the command line's NAME=VALUE pairs, which a
  // silent run protects from the script. Errors take their texts from
  // messages; assigning ABORT sets flags.cancel.
  TVariableStore(const TMessageTable& messages, TEngineFlags& flags, std::vector<std::string> overrideNames = {});
  TVariableStore(const TVariableStore&) = delete;
  TVariableStore& operator=(const TVariableStore&) = delete;

  bool Exists(std::string_view name) const;
  // An undefined name raises TScriptError with message 9 and the name.
  std::string Get(std::string_view name) const;
  std::optional<std::string> Find(std::string_view name) const;
  // Appends (name, empty) when missing, then sets; an empty name is ignored.
  void Define(std::string_view name, std::string_view value, std::string_view phase);
  // An undefined name raises TScriptError with message 10 and the name. In a
  // silent run an overridden name keeps its command-line value, except for
  // the phase kPhaseInjectOverride.
  void Set(std::string_view name, std::string_view value, std::string_view phase);

  std::string Substitute(std::string_view text) const;
  // Substitution, then doubled backslashes collapsed (a UNC prefix kept).
  std::string SubstituteNormalised(std::string_view text) const;
  // The variable named by text (one "$NAME$" token or a bare name): the
  // substitution of its value, or kUnresolvedReference / empty when missing.
  std::string ResolveReference(std::string_view text) const;
  std::string ResolveReferenceOrEmpty(std::string_view text) const;

  // Plug-in exchange: the whole store as comma text, and its replacement.
  std::string Export() const;
  void Import(std::string_view commaText);
  std::vector<TVariable> Variables() const;
  void Clear();

private:
  bool IsProtected(std::string_view name, std::string_view phase) const;
  // False when the variable is missing.
  bool SetLocked(std::string_view name, std::string_view value, std::string_view phase);
  std::optional<std::string> ResolveLocked(std::string_view text) const;

  const TMessageTable& messages_;
  TEngineFlags& flags_;
  const std::vector<std::string> overrideNames_;

  mutable std::mutex mutex_;
  std::vector<TVariable> variables_;
  TNameIndex index_;
};

}  // namespace corvane
