// The start of a run: a fresh store, every predefined variable in its order
// and phase, the product instance decided, the resume entry removed, the
// deferred commands' activations, the language and the command-line
// overrides, which always win.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "script/run_services.h"
#include "script/setup_system.h"
#include "script/variable_store.h"

namespace corvane {

class TRunContext;

// What the start of a run hands to the product-instance logic and the
// feature model, in the order it calls them.
class TProductStart {
public:
  virtual ~TProductStart() = default;
  // Empties the component lists.
  virtual void ClearComponents() = 0;
  // First installation, upgrade or maintenance; defines PRODUCTCODE to
  // NEWINSTANCE and, outside maintenance, TARGETDIR, STARTMENU and ALLUSERS.
  virtual void DetectInstance(TRunContext& run) = 0;
  // The product's name once the instance is known.
  virtual std::string ProductName() const = 0;
  virtual void DefinePredefinedComponent() = 0;
  // Only when a patch lies beside the package: the installed product's
  // selections and recorded properties.
  virtual void PreparePatch(TRunContext& run) = 0;
};

// The command line's NAME=VALUE pairs, in order: an existing variable is set
// under its upper-case name, a missing one defined under it. They pass the
// protection that keeps them in a silent run.
void InjectOverrides(TVariableStore& store, const std::vector<std::pair<std::string, std::string>>& overrides);

// "C:\kel1\setup.msi" -> "C:\kel1\setup.msp".
std::string PatchPathOf(std::string_view packagePath);

struct TSetupInitParts {
  TSetupSystem& system;
  TProductStart& product;
  TLanguageChooser* language = nullptr;  // none: LANGUAGE stays empty
};

class TSetupInit : public TRunInitialiser {
public:
  explicit TSetupInit(TSetupInitParts parts) : parts_(parts) {}

  // The store and component lists cleared, TARGETDIR, STARTMENU and
  // ALLUSERS, the product instance, the deferred text lists.
  void Prepare(TRunContext& run) override;
  // False, before anything is defined, when neither the package nor a patch
  // is in the work folder, and when the language choice is cancelled.
  bool Complete(TRunContext& run) override;

private:
  void DefineInitializationVariables(TRunContext& run, const std::string& owner, const std::string& company);
  void RemoveResumeEntry(TRunContext& run);

  TSetupInitParts parts_;
};

}  // namespace corvane
