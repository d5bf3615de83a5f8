// The sixteen commands whose change the build tool already wrote into the
// installer package, conditioned on properties of their own line: reaching
// one only records that it was reached ("A" + header = "TRUE") and the
// run-time text of its parameter lines ("P" + header + "_1" ... "_9"), which
// the package preparation later writes into the package.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

class TCommandTable;
class TMediaStep;

inline constexpr std::string_view kMissingCommandHeader =
    "Unable to obtain command headers. Please rebuild your project.";

// The short|long form the package's shortcut rows take: the first six
// characters, trimmed, "~1|", the whole name ("Read M~1|Read Me First").
std::string ShortcutNameForm(std::string_view name);

// mediaStep serves the four install commands of a setup whose installation
// data is fetched on demand; it must outlive the table.
void RegisterDeferredChangeCommands(TCommandTable& table, TMediaStep& mediaStep);

}  // namespace corvane
