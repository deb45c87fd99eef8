// The keys of one camera's sections: "[CameraN]" (sub empty) and "[CameraN.<sub>]".
#pragma once

#include <string>

#include "simulator/camera/Camera.h"
#include "simulator/camera/IniText.h"

namespace kvtsim {

// False with *error for an unknown sub-section or key or a bad value.
bool ApplyCameraEntry(Camera& camera, const std::string& sub, const IniEntry& entry,
                      const std::string& baseDir, std::string* error);

}  // namespace kvtsim
