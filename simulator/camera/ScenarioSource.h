// Where the scenario comes from: a recording named by KVTSIM_RECORDING (replayed as
// the scenario "[Replay] Recording = <path>"), else the file named by KVTSIM_SCENARIO,
// else "KVTItoPTP.ini" in the library's folder, else the built-in default scenario
// (the same text as the shipped KVTItoPTP.ini, kept as a resource of the library).
#pragma once

#include <string>

namespace kvtsim {

struct ScenarioText {
    std::string text;
    std::string baseDir;  // folder for relative file names, with a trailing backslash
    std::string origin;   // the path, or "built-in"
    std::string error;    // set when the named file cannot be read
};

ScenarioText FindStartupScenario();
ScenarioText ReadScenarioFile(const std::string& path);
std::string BuiltInScenarioText();
// The folder of this library, with a trailing backslash.
std::string LibraryFolder();
std::string EnvironmentValue(const char* name);

}  // namespace kvtsim
