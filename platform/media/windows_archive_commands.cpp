#include "platform/media/windows_archive_commands.h"

namespace corvane {

TWindowsArchiveCommands::TWindowsArchiveCommands(TCommandTable& table) { RegisterArchiveCommands(table, services_); }

}  // namespace corvane
