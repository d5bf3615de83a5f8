#include "platform/launcher/engine_run.h"

#include "actions/string_commands.h"
#include "launcher/message_table.h"
#include "launcher/script_container.h"
#include "media/seven_zip_archive.h"
#include "platform/actions/windows_system_queries.h"
#include "platform/media/kel_archive_library.h"
#include "platform/media/windows_archive_commands.h"
#include "platform/windows_script_host.h"
#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/interpreter.h"
#include "script/minimal_initialiser.h"
#include "script/validation/validator.h"

namespace corvane {
namespace {

class TContainerValidator : public TScriptValidator {
public:
  bool Validate(const TScriptContainer& container) override { return ValidateScript(container).Ok(); }
};

TStartOptions StartOptionsOf(const TCommandLine& line) {
  return {line.silent, line.selfExtractorPath, line.logPath, line.argumentsText, line.overrides};
}

}  // namespace

int RunScript(const TScriptContainer& container, const TLaunchFacts& facts, const TMessageTable& messages) {
  TEngineContext engine(StartOptionsOf(facts.commandLine));
  engine.messages = messages;
  TWindowsScriptHost host;
  TWindowsSystemQueries systemQueries;
  TStringCommandServices stringServices{systemQueries};
  TCommandTable commands;
  RegisterCoreCommands(commands);
  TWindowsArchiveCommands archiveCommands(commands);
  RegisterStringCommands(commands, stringServices);
  TMinimalRunInitialiser initialiser;
  TContainerValidator validator;
  TInterpreter interpreter(engine, host, commands, {initialiser, &validator});
  return interpreter.Run(container, facts.packagePath);
}

bool ExtractSetupResource(const std::string& archive, const std::string& destination) {
  TKelArchiveLibrary library;
  TArchiveExtraction extraction;
  extraction.archivePath = archive;
  extraction.destination = destination;
  extraction.overwriteAnswer = true;
  extraction.folderFlag = true;
  std::string errorText;
  return SevenZipExtractArchive(library, extraction, errorText);
}

}  // namespace corvane
