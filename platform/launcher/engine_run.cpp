#include "platform/launcher/engine_run.h"

#include "actions/deferred_changes.h"
#include "actions/string_commands.h"
#include "actions/unavailable_media_step.h"
#include "dialogs/feature_commands.h"
#include "installer/product_instance.h"
#include "launcher/language_choice.h"
#include "launcher/message_table.h"
#include "launcher/script_container.h"
#include "launcher/setup_translator.h"
#include "media/seven_zip_archive.h"
#include "platform/actions/windows_system_queries.h"
#include "platform/installer/win_installer_api.h"
#include "platform/launcher/language_dialog.h"
#include "platform/launcher/win_text_files.h"
#include "platform/launcher/windows_setup_system.h"
#include "platform/media/kel_archive_library.h"
#include "platform/media/windows_archive_commands.h"
#include "platform/windows_script_host.h"
#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/interpreter.h"
#include "script/setup_init.h"
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
  TUnavailableMediaStep mediaStep;
  RegisterDeferredChangeCommands(commands, mediaStep);
  TWindowsSetupSystem setupSystem(facts);
  TWinInstallerApi installer;
  TFeatureModel features(container.Sections().componentSizes);
  TProductInstance instance(setupSystem, installer, features);
  RegisterFeatureCommands(commands, features);
  RegisterInstanceCommands(commands, instance);
  TWinTextFiles files;
  TSetupTranslator translator(files, {facts.workFolder, container.Sections().title}, messages);
  TWinLanguagePrompt languagePrompt;
  // A maintenance run takes the language its product recorded in its cache.
  TSetupLanguageChooser chooser(
      files, languagePrompt,
      {facts.workFolder, facts.baseName, [&](TRunContext& run) { return instance.MaintenanceFolder(run); }},
      UserDefaultLanguage());
  TSetupInit initialiser({.system = setupSystem, .product = instance, .language = &chooser});
  TContainerValidator validator;
  TInterpreter interpreter(engine, host, commands,
                           {.initialiser = initialiser, .validator = &validator, .translator = &translator,
                            .hooks = {&instance}});
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
