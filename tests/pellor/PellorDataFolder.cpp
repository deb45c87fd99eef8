#include "tests/pellor/PellorDataFolder.h"

#include "common/Win32.h"

namespace pellortest {

std::string Scenario(const std::string& extra) {
    return "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\n" + extra;
}

std::string BoardInfText(const std::string& keys) {
    return "[Version]\r\nFileVersion=1.0.0.0\r\n[DLResonantFrequency]\r\n" + keys;
}

std::string DataRun::Bytes(const std::string& command) const {
    const std::string line = Result(command);
    const std::size_t open = line.find(" [");
    if (open == std::string::npos || line.back() != ']') {
        return std::string();
    }
    return line.substr(open + 2, line.size() - open - 3);
}

std::vector<kvttest::SimCall> DataRun::Runs(const std::string& procedure) const {
    return kvttest::SimExecutes(journal, procedure);
}

PellorFolder::PellorFolder(const std::string& prefix, const std::string& scenario,
                           const std::string& boardInf)
    : _folder(prefix) {
    _folder.WithCamera(scenario)
        .WithPlugIn("Pellor.q517", "Pellor.q517")
        .WithStandardIni()
        .WithVersionList({kvtq517test::PlugInEntry("Pellor.q517", "1.1.0.0"),
                          kvtq517test::IniEntry("BoardInf.ini", "1.0.0.0"),
                          kvtq517test::IniEntry(kvtq517test::kIniName, kvtq517test::kIniVersion)});
    kvttest::CopyFileTo(kvttest::BinDir() + "pellor_data_driver.exe",
                        Path() + "kvtq517_driver.exe");
    WithBoardInf(boardInf);
}

PellorFolder& PellorFolder::WithBoardInf(const std::string& text) {
    const std::string path = PropertyDir() + "BoardInf.ini";
    if (text.empty()) {
        ::DeleteFileA(path.c_str());
    } else {
        kvttest::WriteFileBytes(path, text);
    }
    return *this;
}

// The folder's driver program is the data procedures' driver under the name the
// deploy folder runs.
DataRun PellorFolder::Run(const std::vector<std::string>& commands, bool withJournal) const {
    const std::string journal = Path() + "journal.txt";
    ::DeleteFileA(journal.c_str());
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", withJournal ? journal.c_str() : nullptr);
    // Each command is passed in quotes: trailing backslashes are doubled so that the
    // closing quote stays a quote ("folder=D:\Adjust\").
    std::vector<std::string> all{"open"};
    for (const std::string& command : commands) {
        const std::size_t kept = command.find_last_not_of('\\');
        const std::size_t trailing =
            kept == std::string::npos ? command.size() : command.size() - kept - 1;
        all.push_back(command + std::string(trailing, '\\'));
    }
    DataRun run;
    static_cast<kvtq517test::DriverRun&>(run) = _folder.Run(all);
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", nullptr);
    if (withJournal) {
        run.journal = kvttest::ReadSimJournalFile(journal);
    }
    return run;
}

}  // namespace pellortest
