// A deploy-like folder with the real factory API library ("oxrmsg.dll"), Corvane, the
// simulated camera and Pellor.q517 registered in the version list, in which the
// settings procedures' driver (SettingsDriver.cpp) runs as a child process. Each
// command of a run comes back as a Step: its result, the caller's buffer after it, the
// camera-side procedures it ran and the log lines it wrote.
#pragma once

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tests/factory_api/DeployFolder.h"

namespace pellorsettings {

struct Step {
    std::string command;
    unsigned long code = 0xFFFFFFFFul;
    std::string bytes;               // the buffer as hex (or the command's text)
    std::string trace;               // "Name(p1,p2) Name(...)"
    std::vector<std::string> log;    // KvtDll.log lines written during the command

    bool HasLog(const std::string& line) const;
    bool LogContains(const std::string& text) const;
};

struct SettingsRun {
    kvttest::ProcessResult process;
    std::vector<Step> steps;          // in command order
    std::vector<std::string> log;     // the whole KvtDll.log after the run

    // The first step of that command at or after `from`, or null.
    const Step* Find(const std::string& command, std::size_t from = 0) const;
};

class SettingsFolder {
public:
    explicit SettingsFolder(const std::string& prefix,
                            const std::string& scenario = kvtq517test::OneCameraScenario());

    const std::string& Path() const { return _folder.Path(); }

    // Runs the driver with "open" first, then `commands`.
    SettingsRun Run(const std::vector<std::string>& commands) const;

private:
    kvtq517test::DeployFolder _folder;
};

// A scenario text as one command argument: line breaks become '|'.
std::string SimCommand(const std::string& scenarioText);

// The hex of a value's bytes in memory: Hex(1.999) is the double's 8 bytes.
template <class T>
std::string HexOf(const T& value) {
    static const char digits[] = "0123456789abcdef";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&value);
    std::string out;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out += digits[p[i] >> 4];
        out += digits[p[i] & 15];
    }
    return out;
}

}  // namespace pellorsettings
