#include "script/validation/predefined_names.h"

#include <array>

namespace corvane {
namespace {

constexpr std::array<std::string_view, 48> kPredefinedNames = {
    "NOBRAND",      "TIME",         "DATE",       "NEWINSTANCE",    "SELECTED",   "WINDOWHANDLE",
    "EXEDIR",       "EXEFILE",      "UNINSTALLLINK", "ABORT",       "SILENT",     "LOGGED",
    "CMDLINE",      "SFXPATH",      "SFXFILE",    "LASTERROR",      "PROGRESSMODE", "PROGRESSTEXT",
    "PROGRESS",     "LICENSE",      "USERNAME",   "USERCOMPANY",    "REBOOTCOMPUTER", "RUNAPP",
    "WIZARD",       "VERSION",      "TARGETDIR",  "STARTMENU",      "ADVERTISE",  "ALLUSERS",
    "COMPLETE",     "MINIMUM",      "PERSONALIZED", "MODIFY",       "REPAIR",     "REMOVE",
    "DATADIR",      "PRODUCTCODE",  "REVISIONCODE", "ROOTDIR",      "MAINTENANCE", "NEEDSUPGRADE",
    "TITLE",        "COMPANY",      "TEMPDIR",    "SUPPORTDIR",     "MSIFILE",    "LANGUAGE",
};

}  // namespace

std::span<const std::string_view> PredefinedVariableNames() {
  return kPredefinedNames;
}

}  // namespace corvane
