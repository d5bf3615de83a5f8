// New GUIDs in the form the installer's tables hold: braced, upper case.
#pragma once

#include <functional>
#include <string>

namespace corvane {

using TGuidSource = std::function<std::string()>;

// A random (version 4) GUID such as "{0A1B2C3D-4E5F-4A6B-8C7D-8E9F0A1B2C3D}".
std::string NewRandomGuid();

}  // namespace corvane
