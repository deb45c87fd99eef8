// A deploy-like folder for one test: the test factory program, the factory API library
// as "oxrmsg.dll", Corvane.dll and, on request, the simulated camera, fixture plug-ins,
// a version list and property INI files. The program runs as a child process with the
// folder as its current directory, so the loader resolves every library from there.
#pragma once

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tools/verck/VersionListFile.h"

namespace kvtq517test {

// The INI file every ready folder carries, and its registered version.
constexpr char kIniName[] = "Q517.ini";
constexpr char kIniVersion[] = "1.0.0.0";

// One camera, not in tool mode; the memory of bank 0xEE at 4097 holds 01 e3 00 24.
std::string OneCameraScenario();
// Two cameras with the given tool modes; camera 1's bank 0xEE memory at 4097 holds
// c1 c1 c1 c1, camera 0's holds c0 c0 c0 c0.
std::string TwoCameraScenario(const std::string& toolMode0, const std::string& toolMode1);

struct DriverRun {
    kvttest::ProcessResult process;
    std::vector<std::string> log;        // KvtDll.log, stamps removed
    std::vector<std::string> results;    // the "@@ " lines, without the marker

    // The result line of a command: "<command> = ..." (empty if missing).
    std::string Result(const std::string& command) const;
    // The number after " = " of that line (0xFFFFFFFF if missing).
    unsigned long Code(const std::string& command) const;
    bool HasLog(const std::string& line) const;
    bool LogContains(const std::string& text) const;
    int LogIndex(const std::string& line, int from = 0) const;
};

class DeployFolder {
public:
    explicit DeployFolder(const std::string& prefix);
    // The folder below `parent` (absolute, with its trailing backslash).
    DeployFolder(const std::string& prefix, const std::string& parent);

    const std::string& Path() const { return _path; }
    std::string PlugInDir() const { return _path + "_Q517_\\PlugIn\\"; }
    std::string PropertyDir() const { return _path + "_Q517_\\Property\\"; }

    // The simulated camera library with a scenario beside it.
    DeployFolder& WithCamera(const std::string& scenario = OneCameraScenario());
    // A fixture DLL of the build folder ("kvtfx_full.dll") as _Q517_\PlugIn\<fileName>.
    DeployFolder& WithPlugIn(const std::string& fixture, const std::string& fileName);
    DeployFolder& WithVersionList(const std::vector<verck::Entry>& entries);
    DeployFolder& WithVersionListBytes(const std::string& bytes);
    DeployFolder& WithIni(const std::string& name, const std::string& text);
    // The standard INI file with [Version] FileVersion=1.0.0.0.
    DeployFolder& WithStandardIni();

    DriverRun Run(const std::vector<std::string>& commands) const;

private:
    std::string _path;
};

verck::Entry PlugInEntry(const std::string& name, const std::string& version);
verck::Entry IniEntry(const std::string& name, const std::string& version);

// A folder with the full fixture as "Fixture.q517", the standard INI file and a list
// that registers both: Initialize succeeds.
DeployFolder ReadyFolder(const std::string& prefix);

}  // namespace kvtq517test
