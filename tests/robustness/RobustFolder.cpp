#include "tests/robustness/RobustFolder.h"

#include <cstdlib>
#include <sstream>

#include "common/Win32.h"

namespace robusttest {

std::string StandardBoardInf() {
    return "[Version]\r\nFileVersion=1.0.0.0\r\n[DLResonantFrequency]\r\nAddress=96\r\nSize=4\r\n";
}

std::vector<std::string> DriverOutput::Starting(const std::string& head) const {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (line.compare(0, head.size(), head) == 0) {
            out.push_back(line);
        }
    }
    return out;
}

std::string DriverOutput::Transcript() const {
    const std::size_t keep = 6000;
    std::string out = process.out.size() > keep ? "..." + process.out.substr(process.out.size() - keep)
                                                : process.out;
    return "exit " + std::to_string(process.exitCode) + (process.started ? "" : " (not started)") +
           (process.timedOut ? " (timed out)" : "") +
           "\n" + out + "\nstderr: " + process.err.substr(0, 2000);
}

RobustFolder::RobustFolder(const std::string& prefix) : _folder(prefix) {
    _folder.WithCamera()
        .WithPlugIn("Pellor.q517", "Pellor.q517")
        .WithStandardIni()
        .WithIni("BoardInf.ini", StandardBoardInf())
        .WithVersionList({kvtq517test::PlugInEntry("Pellor.q517", "1.1.0.0"),
                          kvtq517test::IniEntry("BoardInf.ini", "1.0.0.0"),
                          kvtq517test::IniEntry(kvtq517test::kIniName, kvtq517test::kIniVersion)});
    kvttest::CopyFileTo(kvttest::BinDir() + "robustness_driver.exe",
                        Path() + "robustness_driver.exe");
}

std::string RobustFolder::CommandLine(const std::vector<std::string>& args) const {
    std::string line = "\"" + Path() + "robustness_driver.exe\"";
    for (const std::string& arg : args) {
        line += " \"" + arg + "\"";
    }
    return line;
}

DriverOutput RobustFolder::Run(const std::vector<std::string>& args, unsigned timeoutMs) const {
    DriverOutput run;
    run.process = kvttest::RunProcess(CommandLine(args), Path(), std::string(), timeoutMs);
    for (const std::string& line : kvttest::SplitLines(run.process.out)) {
        if (line.compare(0, 3, "@@ ") == 0) {
            run.lines.push_back(line.substr(3));
        }
    }
    return run;
}

std::string Field(const std::string& line, const std::string& key) {
    const std::string head = " " + key + "=";
    const std::size_t at = line.find(head);
    if (at == std::string::npos) {
        return std::string();
    }
    const std::size_t start = at + head.size();
    return line.substr(start, line.find(' ', start) - start);
}

long FieldNumber(const std::string& line, const std::string& key, long fallback) {
    const std::string value = Field(line, key);
    return value.empty() ? fallback : std::strtol(value.c_str(), nullptr, 10);
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

}  // namespace robusttest
