// The validator's view of the variable store: the names that lines before the
// current one define. Values play no part, so the validator works on its own
// set unless a caller hands in an adapter over the real store.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace corvane {

// The phase under which the validator's names are defined.
inline constexpr std::string_view kCompilationPhase = "Compilation";

class TKnownVariables {
public:
  virtual ~TKnownVariables() = default;

  virtual void Clear() = 0;
  // Names compare without regard to ASCII letter case.
  virtual bool Exists(std::string_view name) const = 0;
  // Defines name with an empty value under kCompilationPhase.
  virtual void Define(std::string_view name) = 0;
};

class TKnownVariableSet final : public TKnownVariables {
public:
  void Clear() override;
  bool Exists(std::string_view name) const override;
  void Define(std::string_view name) override;

private:
  std::unordered_set<std::string> upperNames_;
};

}  // namespace corvane
