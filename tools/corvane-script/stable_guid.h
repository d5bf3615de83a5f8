// GUIDs that depend only on what they are made from, so that building the
// same source twice gives the same container.
#pragma once

#include <string>
#include <vector>

namespace corvane::authoring {

// An upper-case braced GUID hashed from the parts (RFC 9562 version 8 layout).
std::string StableGuid(const std::vector<std::string>& parts);

}  // namespace corvane::authoring
