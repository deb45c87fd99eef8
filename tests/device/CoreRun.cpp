#include "device/CoreRun.h"

#include <sstream>

#include "common/Win32.h"

namespace coretest {

unsigned CoreRun::Calls(const std::string& function) const {
    unsigned n = 0;
    for (const auto& call : journal) {
        n += call.function == function ? 1u : 0u;
    }
    return n;
}

int CoreRun::Find(const std::string& line, int from) const {
    return kvttest::FindLine(log, line, from);
}

CoreRun RunCore(const CoreSetup& setup, const std::vector<std::string>& steps, bool keep) {
    CoreRun run;
    const std::string bin = kvttest::BinDir();
    run.folder = kvttest::MakeFreshDir("core");
    if (run.folder.empty() ||
        !kvttest::CopyFileTo(bin + "core_child.exe", run.folder + "core_child.exe") ||
        !kvttest::CopyFileTo(bin + "Corvane.dll", run.folder + "Corvane.dll")) {
        return run;
    }
    if (!setup.transport.empty() &&
        !kvttest::CopyFileTo(bin + setup.transport, run.folder + "KVTItoPTP.dll")) {
        return run;
    }
    if (!setup.scenario.empty()) {
        kvttest::WriteFileBytes(run.folder + "KVTItoPTP.ini", setup.scenario);
    }
    for (const auto& file : setup.files) {
        kvttest::WriteFileBytes(run.folder + file.first, file.second);
    }
    const std::string journal = run.folder + "journal.txt";
    // The child inherits the variable; the simulator appends every call to the file.
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", journal.c_str());
    ::SetEnvironmentVariableA("KVTSIM_SCENARIO", nullptr);
    std::string command = "\"" + run.folder + "core_child.exe\"";
    for (const auto& step : steps) {
        command += " " + step;
    }
    run.process = kvttest::RunProcess(command, run.folder);
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", nullptr);

    // Result lines are "<step> <result>"; Corvane's own output (the timer restart)
    // sits between them.
    std::istringstream out(run.process.out);
    std::string line;
    std::size_t next = 0;
    while (std::getline(out, line) && next < steps.size()) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string head = steps[next] + " ";
        if (line.rfind(head, 0) == 0) {
            run.results.push_back(line.substr(head.size()));
            ++next;
        }
    }
    run.log = kvttest::ReadLogLines(run.folder + "KvtDll.log");
    if (kvttest::FileExists(journal)) {
        run.journal = kvttest::ReadSimJournalFile(journal);
    }
    if (!keep) {
        kvttest::RemoveTree(run.folder);
    }
    return run;
}

std::vector<std::string> Slice(const std::vector<std::string>& lines, int first, int last) {
    if (first < 0 || last < first || last > static_cast<int>(lines.size())) {
        return {};
    }
    return std::vector<std::string>(lines.begin() + first, lines.begin() + last);
}

}  // namespace coretest
