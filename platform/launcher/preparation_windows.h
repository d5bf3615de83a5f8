// The splash picture TSetupSplash and the preparation window TSetupInit.
#pragma once

#include <memory>
#include <string>

#include "launcher/startup_host.h"

namespace corvane {

class TMessageTable;

// Shows the splash when the picture file loads, then the preparation window
// beside it (or centred), both painted at once: start-up runs no message loop.
// While the windows exist, *owner holds the preparation window (the owner of
// start-up message boxes); it is cleared when they go.
std::unique_ptr<TPreparationWindows> ShowPreparationWindows(const std::string& splashPicture,
                                                            const TMessageTable& messages, void** owner);

}  // namespace corvane
