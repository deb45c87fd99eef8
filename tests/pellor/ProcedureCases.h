// Cases of the settings procedures, run through the real host in one child process:
// before each case the simulated camera goes back to its startup scenario and takes the
// case's setup; then the one call runs and its result, buffer, camera-side procedures
// and log lines are compared.
#pragma once

#include <string>
#include <vector>

namespace pellorsettings {

struct ProcedureCase {
    const char* title;
    std::string call;                  // a driver command: "exec:GetLanguage:4", "null:..."
    std::string setup;                 // scenario text applied first ("" = none)
    unsigned long code;
    std::string trace;                 // the camera-side procedures, exactly
    std::string bytes;                 // the buffer's first bytes as hex ("" = not compared)
    const char* logName;               // "[FUNC] <logName>" and "... - <code>" (null = not checked)
    std::vector<std::string> lines;    // further log lines the call writes
};

// Runs the cases in one driver run in a fresh folder and reports each mismatch under
// the case's title.
void CheckCases(const std::string& folderPrefix, const std::vector<ProcedureCase>& cases);

// Scenario texts used by the cases.
std::string PublicProperty(const std::string& id, const std::string& value);  // [Camera0.Public]
std::string CameraProcedure(const std::string& key, const std::string& value); // [Camera0.Procedures]
std::string CameraKey(const std::string& key, const std::string& value);       // [Camera0]

}  // namespace pellorsettings
