// Programs started through the shell, as "Run Program" starts them.
#pragma once

#include "actions/program_runner.h"

namespace corvane {

class TShellProgramRunner final : public TProgramRunner {
public:
  // The verb "open" first, then the file's default verb; the shell's error
  // boxes are suppressed. Waiting checks the process once a second.
  std::optional<uint32_t> Run(const TProgramStart& start) override;
};

}  // namespace corvane
