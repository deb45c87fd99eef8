#include "propfiles/PropFilesFolder.h"

#include "common/Win32.h"

namespace propfilestest {

std::string Scenario(const std::string& extra) {
    return "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\n" + extra;
}

std::string Outcome::Text(const std::string& command) const {
    const std::string line = Result(command);
    const std::size_t code = command.size() + 3;
    const std::size_t blank = line.find(' ', code);
    return blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

Folder::Folder(const std::string& prefix, const std::string& scenario) : _folder(prefix) {
    _folder.WithCamera(scenario)
        .WithPlugIn("Pellor.q517", "Pellor.q517")
        .WithStandardIni()
        .WithVersionList({kvtq517test::PlugInEntry("Pellor.q517", "1.1.0.0"),
                          kvtq517test::IniEntry(kvtq517test::kIniName, kvtq517test::kIniVersion)});
    // The folder runs its driver under the deploy folder's program name.
    kvttest::CopyFileTo(kvttest::BinDir() + "propfiles_driver.exe",
                        Path() + "kvtq517_driver.exe");
}

Outcome Folder::Execute(const std::vector<std::string>& commands) const {
    const std::string journal = Path() + "journal.txt";
    ::DeleteFileA(journal.c_str());
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", journal.c_str());
    Outcome run;
    static_cast<kvtq517test::DriverRun&>(run) = _folder.Run(commands);
    ::SetEnvironmentVariableA("KVTSIM_JOURNAL", nullptr);
    run.journal = kvttest::ReadSimJournalFile(journal);
    return run;
}

}  // namespace propfilestest
