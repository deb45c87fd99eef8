// Applying a scenario text to the world. Both forms are all-or-nothing: on an error
// (with its line number in *error) the world is unchanged.
#pragma once

#include <string>

namespace kvtsim {

class World;

// Replaces cameras, their contents and the faults; clears the journal.
bool LoadScenario(World& world, const std::string& text, const std::string& baseDir,
                  std::string* error);
// Applies the text on top of the current state. A [Cameras] Count adds cameras (from
// their template) or drops the last ones; call numbers "#n" count from now.
bool ApplyScenario(World& world, const std::string& text, const std::string& baseDir,
                   std::string* error);

}  // namespace kvtsim
