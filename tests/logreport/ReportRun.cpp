#include "tests/logreport/ReportRun.h"

#include <sstream>

namespace logreporttest {
namespace {

bool Starts(const std::string& line, const std::string& head) {
    return line.compare(0, head.size(), head) == 0;
}

// "  <name> count failed noexit total mean slowest"
bool ParseRow(const std::string& line, std::string& name, Row& row) {
    std::istringstream in(line);
    double mean = 0;
    return static_cast<bool>(in >> name >> row.count >> row.failed >> row.unpaired >> row.total >> mean >>
                             row.slowest);
}

long NumberAfter(const std::string& line, const std::string& head) {
    return std::stol(line.substr(head.size()));
}

}  // namespace

bool Report::HasNote(const std::string& text) const {
    for (const std::string& note : notes) {
        if (note.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::map<std::string, unsigned> Report::Counts(const std::map<std::string, Row>& table) {
    std::map<std::string, unsigned> counts;
    for (const auto& row : table) {
        counts[row.first] = static_cast<unsigned>(row.second.count);
    }
    return counts;
}

Report RunReport(const std::string& log, const std::string& arguments, unsigned timeoutMs) {
    Report r;
    std::string command = "\"" + kvttest::BinDir() + "KvtLogReport.exe\" \"" + log + "\"";
    if (!arguments.empty()) {
        command += " " + arguments;
    }
    r.process = kvttest::RunProcess(command, kvttest::CurrentDir(), std::string(), timeoutMs);
    std::map<std::string, Row>* table = nullptr;
    std::string section;
    std::string camera;
    for (const std::string& line : kvttest::SplitLines(r.process.out)) {
        if (line.empty()) {
            continue;
        }
        if (line[0] != ' ') {
            section = line;
            table = Starts(line, "Exported operations")   ? &r.exports
                    : Starts(line, "Event procedures")    ? &r.procedures
                    : Starts(line, "Library steps")       ? &r.steps
                                                          : nullptr;
            if (Starts(line, "Failures: ")) {
                r.failures = NumberAfter(line, "Failures: ");
            } else if (Starts(line, "Processes: ")) {
                r.processes = NumberAfter(line, "Processes: ");
            }
            continue;
        }
        if (table != nullptr && !Starts(line, "  name ")) {
            std::string name;
            Row row;
            if (ParseRow(line, name, row)) {
                (*table)[name] = row;
            }
        } else if (Starts(section, "Failures")) {
            r.failureLines.push_back(line);
        } else if (Starts(section, "Transport")) {
            if (Starts(line, "  Camera[")) {
                camera = line.substr(2);
            } else if (Starts(line, "    transport function")) {
                camera += " functions";
            } else if (Starts(line, "      ") && camera.find(" functions") == std::string::npos) {
                std::istringstream in(line);
                std::string name;
                unsigned long count = 0;
                if (in >> name >> count) {
                    r.transport[camera + " " + name] = count;
                }
            }
        } else if (Starts(section, "Notes") && Starts(line, "  - ")) {
            r.notes.push_back(line.substr(4));
        }
    }
    return r;
}

}  // namespace logreporttest
