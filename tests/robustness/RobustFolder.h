// A deploy-like folder for the robustness driver: the real factory API library as
// "oxrmsg.dll", Corvane.dll, the simulated camera, Pellor.q517 with the version list
// that registers it, the standard property INI file and "BoardInf.ini", and the driver
// program itself, which runs there as a child process.
#pragma once

#include <string>
#include <vector>

#include "tests/factory_api/DeployFolder.h"

namespace robusttest {

// The standard "BoardInf.ini": version 1.0.0.0, EEPROM range at word 96, 4 bytes.
std::string StandardBoardInf();

struct DriverOutput {
    kvttest::ProcessResult process;
    std::vector<std::string> lines;   // the "@@ " lines, without the marker

    // The lines that start with `head` (for example "pos ").
    std::vector<std::string> Starting(const std::string& head) const;
    // Standard output and error, for failure messages (the tail when long).
    std::string Transcript() const;
};

class RobustFolder {
public:
    explicit RobustFolder(const std::string& prefix);

    const std::string& Path() const { return _folder.Path(); }
    std::string PropertyDir() const { return _folder.PropertyDir(); }
    // The driver's command line with these arguments.
    std::string CommandLine(const std::vector<std::string>& args) const;
    DriverOutput Run(const std::vector<std::string>& args, unsigned timeoutMs) const;

private:
    kvtq517test::DeployFolder _folder;
};

// The value of "key=<value>" in a driver line ("" when absent).
std::string Field(const std::string& line, const std::string& key);
long FieldNumber(const std::string& line, const std::string& key, long fallback = -1);
// The blank-separated words of a line.
std::vector<std::string> Words(const std::string& line);

}  // namespace robusttest
