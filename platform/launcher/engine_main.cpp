// setup.exe: process entry. Wires the start-up sequence to Windows and the
// interpreter, and returns the exit code to the system.
#include <windows.h>

#include "launcher/message_table.h"
#include "launcher/startup_sequence.h"
#include "platform/launcher/engine_run.h"
#include "platform/system_library.h"
#include "platform/launcher/win_startup_host.h"
#include "platform/media/codec_deployment_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  corvane::RestrictLibrarySearch();  // before anything can load a library by name
  corvane::DeploySevenZipCodecsAtStart();

  corvane::TMessageTable messages;
  corvane::TWinStartupHost host(corvane::ExtractSetupResource);
  corvane::TNoDialogPool dialogs;
  corvane::TStartupSequence sequence({host, messages, dialogs,
                                      [&](const corvane::TScriptContainer& container,
                                          const corvane::TLaunchFacts& facts) {
                                        return corvane::RunScript(container, facts, messages);
                                      }});
  return sequence.Run();
}
