#include "tests/factory_api/DeployFolder.h"

#include <cstdlib>

#include "common/Win32.h"

namespace kvtq517test {

std::string OneCameraScenario() {
    return "[Cameras]\nCount = 1\n"
           "[Camera0]\nToolMode = 0xFFFFFFFF\n"
           "[Camera0.Memory2]\n4097 = 01 e3 00 24 00 00 00 00 00 00\n";
}

std::string TwoCameraScenario(const std::string& toolMode0, const std::string& toolMode1) {
    return "[Cameras]\nCount = 2\n"
           "[Camera0]\nToolMode = " + toolMode0 + "\n"
           "[Camera0.Memory2]\n4097 = c0 c0 c0 c0\n"
           "[Camera1]\nToolMode = " + toolMode1 + "\n"
           "[Camera1.Memory2]\n4097 = c1 c1 c1 c1\n";
}

std::string DriverRun::Result(const std::string& command) const {
    const std::string head = command + " = ";
    for (const std::string& line : results) {
        if (line.compare(0, head.size(), head) == 0) {
            return line;
        }
    }
    return std::string();
}

unsigned long DriverRun::Code(const std::string& command) const {
    const std::string line = Result(command);
    if (line.empty()) {
        return 0xFFFFFFFFul;
    }
    return std::strtoul(line.c_str() + command.size() + 3, nullptr, 10);
}

bool DriverRun::HasLog(const std::string& line) const {
    return kvttest::FindLine(log, line) >= 0;
}

bool DriverRun::LogContains(const std::string& text) const {
    return kvttest::FindLineContaining(log, text) >= 0;
}

int DriverRun::LogIndex(const std::string& line, int from) const {
    return kvttest::FindLine(log, line, from);
}

DeployFolder::DeployFolder(const std::string& prefix)
    : DeployFolder(prefix, kvttest::CurrentDir()) {}

DeployFolder::DeployFolder(const std::string& prefix, const std::string& parent)
    : _path(kvttest::MakeFreshDirIn(parent, prefix)) {
    const std::string bin = kvttest::BinDir();
    kvttest::CopyFileTo(bin + "kvtq517_driver.exe", _path + "kvtq517_driver.exe");
    kvttest::CopyFileTo(bin + "KvtQ517.dll", _path + "oxrmsg.dll");
    kvttest::CopyFileTo(bin + "Corvane.dll", _path + "Corvane.dll");
    ::CreateDirectoryA((_path + "_Q517_").c_str(), nullptr);
    ::CreateDirectoryA(PlugInDir().c_str(), nullptr);
    ::CreateDirectoryA(PropertyDir().c_str(), nullptr);
}

DeployFolder& DeployFolder::WithCamera(const std::string& scenario) {
    kvttest::CopyFileTo(kvttest::BinDir() + "KVTItoPTP.dll", _path + "KVTItoPTP.dll");
    kvttest::WriteFileBytes(_path + "KVTItoPTP.ini", scenario);
    return *this;
}

DeployFolder& DeployFolder::WithPlugIn(const std::string& fixture, const std::string& fileName) {
    kvttest::CopyFileTo(kvttest::BinDir() + fixture, PlugInDir() + fileName);
    return *this;
}

DeployFolder& DeployFolder::WithVersionList(const std::vector<verck::Entry>& entries) {
    return WithVersionListBytes(verck::EncodeList(entries));
}

DeployFolder& DeployFolder::WithVersionListBytes(const std::string& bytes) {
    kvttest::WriteFileBytes(PropertyDir() + "verck", bytes);
    return *this;
}

DeployFolder& DeployFolder::WithIni(const std::string& name, const std::string& text) {
    kvttest::WriteFileBytes(PropertyDir() + name, text);
    return *this;
}

DeployFolder& DeployFolder::WithStandardIni() {
    return WithIni(kIniName, std::string("[Version]\r\nFileVersion=") + kIniVersion + "\r\n");
}

DriverRun DeployFolder::Run(const std::vector<std::string>& commands) const {
    std::string commandLine = "\"" + _path + "kvtq517_driver.exe\"";
    for (const std::string& command : commands) {
        commandLine += " \"" + command + "\"";
    }
    DriverRun run;
    run.process = kvttest::RunProcess(commandLine, _path);
    run.log = kvttest::ReadLogLines(_path + "KvtDll.log");
    std::size_t start = 0;
    const std::string& out = run.process.out;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) {
            end = out.size();
        }
        std::string line = out.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.compare(0, 3, "@@ ") == 0) {
            run.results.push_back(line.substr(3));
        }
        start = end + 1;
    }
    return run;
}

verck::Entry PlugInEntry(const std::string& name, const std::string& version) {
    return verck::Entry{verck::Entry::Kind::PlugIn, name, version};
}

verck::Entry IniEntry(const std::string& name, const std::string& version) {
    return verck::Entry{verck::Entry::Kind::Ini, name, version};
}

DeployFolder ReadyFolder(const std::string& prefix) {
    DeployFolder folder(prefix);
    folder.WithPlugIn("kvtfx_full.dll", "Fixture.q517")
        .WithStandardIni()
        .WithVersionList({PlugInEntry("Fixture.q517", "2.0.1.0"), IniEntry(kIniName, kIniVersion)});
    return folder;
}

}  // namespace kvtq517test
