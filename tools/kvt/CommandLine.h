// The command line: global options (--json, --camera N, --help) anywhere, the command
// word, its own options and its positional arguments.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kvtcli {

// An option of a command: "--out FILE" (value "FILE") or a flag (value null).
struct OptionInfo {
    const char* name;    // without the dashes
    const char* value;   // the value's name in the help, null for a flag
    const char* text;    // what it does
};

// Camera slots of the factory API (0 to 7).
constexpr int kCameraSlots = 8;

class CommandLine {
public:
    std::string command;                   // "" when none was given
    std::vector<std::string> positionals;  // after the command word
    bool json = false;
    bool help = false;
    int camera = -1;                       // -1: --camera not given

    bool Has(const std::string& option) const { return _options.count(option) != 0; }
    // The option's value ("" when absent).
    std::string Value(const std::string& option) const;

    void Set(const std::string& option, const std::string& value) { _options[option] = value; }

private:
    std::map<std::string, std::string> _options;
};

// The command word: the first argument that is not an option (global options and
// their values skipped); "" when there is none.
std::string FindCommandWord(const std::vector<std::string>& args);

// Parses everything with the command's own options. UsageError for an unknown option
// (with the nearest known ones), a missing or bad value.
CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<OptionInfo>& commandOptions);

}  // namespace kvtcli
