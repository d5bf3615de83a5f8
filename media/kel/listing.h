// The item arrays OpenListArchive hands out, kept by handle until closed.
#pragma once

#include <cstdint>
#include <vector>

#include "media/kel/archive_reader.h"
#include "media/kel/kel_api.h"

namespace corvane::kel {

// Keeps the records of the entries; returns the new non-zero handle.
uintptr_t AddListing(const std::vector<TArchiveEntry>& entries, const TArchiveItemRecord** items, uint32_t* count);
// Unknown and already closed handles are ignored.
void RemoveListing(uintptr_t handle);

}  // namespace corvane::kel
