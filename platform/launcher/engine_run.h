// The engine's parts put together for one run of the script.
#pragma once

#include <string>

#include "launcher/launch_facts.h"
#include "launcher/startup_sequence.h"

namespace corvane {

class TMessageTable;
class TScriptContainer;

// Validates and runs the script; returns the exit code it set.
int RunScript(const TScriptContainer& container, const TLaunchFacts& facts, const TMessageTable& messages);

// The setup resource into the work folder: every item, with its folders,
// replacing what is there.
bool ExtractSetupResource(const std::string& archive, const std::string& destination);

// The dialog pool comes with the dialog files; until then a script's dialogs
// are counted but nothing is loaded for them.
class TNoDialogPool : public TDialogPreloader {
public:
  void Prepare(const std::string&) override {}
  void Load(const std::string&, const std::string&) override {}
};

}  // namespace corvane
