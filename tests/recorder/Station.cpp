#include "tests/recorder/Station.h"

#include <regex>

#include "common/Win32.h"
#include "tests/examples/DeployCopy.h"

namespace rectest {
namespace {

const char* const kSetUpFiles[] = {"KVTItoPTP.dll", "KVTItoPTP.ini", "KVTRecorder.ini",
                                   "KvtDll.log"};

std::string Expand(const std::string& text, const std::string& folder) {
    std::string out = text;
    for (std::size_t at = out.find("{dir}"); at != std::string::npos; at = out.find("{dir}")) {
        out.replace(at, 5, folder);
    }
    return out;
}

// An argument in double quotes as the C runtime reads it back: backslashes before the
// closing quote doubled.
std::string Quoted(const std::string& arg) {
    std::size_t trailing = 0;
    while (trailing < arg.size() && arg[arg.size() - 1 - trailing] == '\\') {
        ++trailing;
    }
    return "\"" + arg + std::string(trailing, '\\') + "\"";
}

bool IsSetUp(const std::string& relative) {
    for (const char* name : kSetUpFiles) {
        if (relative == name) {
            return true;
        }
    }
    return relative.compare(0, 5, "real\\") == 0;
}

void SetEnvironment(const char* name, const std::string& value) {
    ::SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

}  // namespace

std::vector<std::string> Masked(const std::vector<std::string>& lines) {
    static const std::pair<std::regex, const char*> masks[] = {
        {std::regex("^\\[TIME\\] +[0-9]+ msec\\."), "[TIME] * msec."},
        {std::regex("ElapsedTime += +[0-9]+ msec\\."), "ElapsedTime = * msec."},
        {std::regex("^\\[CMNT\\] Current Time is .*"), "[CMNT] Current Time is *"},
        {std::regex("^(\\[KVTI\\]   [A-Za-z]+ +:).*"), "$1 *"},
        {std::regex("^(\\[VALU\\] _k2p[A-Za-z]+ +- 0x)[0-9a-f]+$"), "$1*"},
        {std::regex("^\\[VALU\\] _pImpl - [1-9][0-9]*$"), "[VALU] _pImpl - *"},  // an address
        {std::regex("^start : [0-9]+$"), "start : *"},
        {std::regex("^hFile = [0-9a-f]+$"), "hFile = *"},
    };
    std::vector<std::string> out;
    for (std::string line : lines) {
        for (const auto& mask : masks) {
            line = std::regex_replace(line, mask.first, mask.second);
        }
        out.push_back(line);
    }
    return out;
}

Station::Station(const std::string& prefix) : _base(kvttest::MakeFreshDir(prefix)) {
    _station = _base + "station\\";
    _ok = !_base.empty() && ::CreateDirectoryA((_base + "rec").c_str(), nullptr) != 0;
    SetEnvironment("KVTSIM_SCENARIO", "");
    SetEnvironment("KVTSIM_RECORDING", "");
    SetEnvironment("KVTSIM_JOURNAL", "");
}

bool Station::LayOut(const Program& program) {
    kvttest::RemoveTree(_station);
    bool ok = sdktest::CopyDeployFolderInto(sdktest::WindowsPath(KVT_DIST_DIR), _station);
    if (!kvttest::FileExists(_station + program.exe)) {
        ok = ok && kvttest::CopyFileTo(kvttest::BinDir() + program.exe, _station + program.exe);
    }
    for (const std::string& folder : program.folders) {
        ok = ok && ::CreateDirectoryA((_station + folder).c_str(), nullptr) != 0;
    }
    // No scenario: the development machine has only the recording.
    ::DeleteFileA((_station + "KVTItoPTP.ini").c_str());
    return ok;
}

Outcome Station::Execute(const Program& program) {
    std::string command = "\"" + _station + program.exe + "\"";
    for (const std::string& arg : program.args) {
        command += " " + Quoted(Expand(arg, _station));
    }
    Outcome run;
    run.process = kvttest::RunProcess(command, _station, program.input, 300000);
    run.out = Masked(kvttest::SplitLines(run.process.out));
    run.log = Masked(kvttest::ReadLogLines(_station + "KvtDll.log"));
    for (const auto& file : sdktest::ReadTree(_station)) {
        if (!IsSetUp(file.first)) {
            run.files.insert(file);
        }
    }
    return run;
}

Outcome Station::Record(const std::string& scenario, const Program& program) {
    _ok = _ok && LayOut(program) && ::CreateDirectoryA((_station + "real").c_str(), nullptr) &&
          ::MoveFileA((_station + "KVTItoPTP.dll").c_str(),
                      (_station + "real\\KVTItoPTP.dll").c_str()) &&
          kvttest::WriteFileBytes(_station + "real\\KVTItoPTP.ini", scenario) &&
          kvttest::CopyFileTo(_station + "recorder\\KVTItoPTP.dll", _station + "KVTItoPTP.dll") &&
          kvttest::WriteFileBytes(
              _station + "KVTRecorder.ini",
              "[Recorder]\r\nTarget = real\\KVTItoPTP.dll\r\nRecording = " + Recording() + "\r\n");
    Outcome run = Execute(program);
    _ok = _ok && ::MoveFileA(_station.c_str(), Recorded().c_str());
    return run;
}

Outcome Station::Direct(const std::string& scenario, const Program& program) {
    _ok = _ok && LayOut(program) && kvttest::WriteFileBytes(_station + "KVTItoPTP.ini", scenario);
    return Execute(program);
}

Outcome Station::Replay(const Program& program, const std::string& recording) {
    _ok = _ok && LayOut(program);
    const std::string journal = _base + "replay.journal";
    ::DeleteFileA(journal.c_str());
    SetEnvironment("KVTSIM_RECORDING", recording.empty() ? Recording() : recording);
    SetEnvironment("KVTSIM_JOURNAL", journal);
    Outcome run = Execute(program);
    SetEnvironment("KVTSIM_RECORDING", "");
    SetEnvironment("KVTSIM_JOURNAL", "");
    run.journal = kvttest::ReadFileBytes(journal);
    return run;
}

std::vector<std::string> RecordingLines(const std::string& path) {
    std::vector<std::string> lines;
    for (const std::string& line : kvttest::SplitLines(kvttest::ReadFileBytes(path))) {
        if (!line.empty() && line[0] != '#') {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<kvtrec::CallLine> RecordedCalls(const std::string& path) {
    std::vector<kvtrec::CallLine> calls;
    for (const std::string& text : RecordingLines(path)) {
        kvtrec::CallLine c;
        std::string error;
        if (kvtrec::ParseCallLine(text, &c, &error)) {
            calls.push_back(c);
        }
    }
    return calls;
}

}  // namespace rectest
