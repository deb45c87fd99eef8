#include "tests/pellor/SettingsFolder.h"

#include <cstdlib>

namespace pellorsettings {
namespace {

const char kDriver[] = "pellor_settings_driver.exe";

bool StartsWith(const std::string& text, const char* head) {
    return text.compare(0, std::char_traits<char>::length(head), head) == 0;
}

// "@@ <command> = <code> [<bytes>]"
Step ParseHead(const std::string& line) {
    Step step;
    const std::size_t eq = line.rfind(" = ", line.rfind(" ["));
    const std::size_t open = line.rfind(" [");
    if (eq == std::string::npos || open == std::string::npos || open < eq) {
        step.command = line.substr(3);
        return step;
    }
    step.command = line.substr(3, eq - 3);
    step.code = std::strtoul(line.c_str() + eq + 3, nullptr, 10);
    step.bytes = line.substr(open + 2, line.size() - open - 3);
    return step;
}

}  // namespace

bool Step::HasLog(const std::string& line) const {
    return kvttest::FindLine(log, line) >= 0;
}

bool Step::LogContains(const std::string& text) const {
    return kvttest::FindLineContaining(log, text) >= 0;
}

const Step* SettingsRun::Find(const std::string& command, std::size_t from) const {
    for (std::size_t i = from; i < steps.size(); ++i) {
        if (steps[i].command == command) {
            return &steps[i];
        }
    }
    return nullptr;
}

SettingsFolder::SettingsFolder(const std::string& prefix, const std::string& scenario)
    : _folder(prefix) {
    _folder.WithCamera(scenario)
        .WithPlugIn("Pellor.q517", "Pellor.q517")
        .WithStandardIni()
        .WithVersionList({kvtq517test::PlugInEntry("Pellor.q517", "1.1.0.0"),
                          kvtq517test::IniEntry(kvtq517test::kIniName, kvtq517test::kIniVersion)});
    kvttest::CopyFileTo(kvttest::BinDir() + kDriver, Path() + kDriver);
}

SettingsRun SettingsFolder::Run(const std::vector<std::string>& commands) const {
    std::string commandLine = "\"" + Path() + kDriver + "\" open";
    for (const std::string& command : commands) {
        commandLine += " \"" + command + "\"";
    }
    SettingsRun run;
    run.process = kvttest::RunProcess(commandLine, Path(), std::string(), 300000);
    for (const std::string& line : kvttest::SplitLines(run.process.out)) {
        if (StartsWith(line, "@@ ")) {
            run.steps.push_back(ParseHead(line));
        } else if (run.steps.empty()) {
            continue;
        } else if (StartsWith(line, "@@trace ")) {
            run.steps.back().trace = line.substr(8);
        } else if (StartsWith(line, "@@log ")) {
            run.steps.back().log.push_back(line.substr(6));
        }
    }
    run.log = kvttest::ReadLogLines(Path() + "KvtDll.log");
    return run;
}

std::string SimCommand(const std::string& scenarioText) {
    std::string command = "sim:" + scenarioText;
    for (char& c : command) {
        c = c == '\n' ? '|' : c;
    }
    return command;
}

}  // namespace pellorsettings
