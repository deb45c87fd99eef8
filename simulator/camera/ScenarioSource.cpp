#include "simulator/camera/ScenarioSource.h"

#include "common/ModulePath.h"
#include "common/Win32.h"
#include "simulator/camera/Bytes.h"
#include "simulator/camera/ValueSyntax.h"
#include "simulator/recording/RecordingFormat.h"

using kvtrec::FolderOf;

namespace kvtsim {
namespace {
constexpr std::size_t kMaxScenarioBytes = 16u << 20;
}  // namespace

std::string EnvironmentValue(const char* name) {
    DWORD needed = ::GetEnvironmentVariableA(name, nullptr, 0);  // with the zero
    if (needed == 0) {
        return std::string();
    }
    std::string value(needed, '\0');
    DWORD n = ::GetEnvironmentVariableA(name, &value[0], needed);
    value.resize(n < needed ? n : 0);
    return value;
}

std::string LibraryFolder() {
    return FolderOf(kvt::ModuleFileName(kvt::ThisModule()));
}

std::string BuiltInScenarioText() {
    HMODULE module = kvt::ThisModule();
    HRSRC found = ::FindResourceA(module, "KVTSIM_DEFAULT", MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return std::string();
    }
    return std::string(static_cast<const char*>(data), ::SizeofResource(module, found));
}

ScenarioText ReadScenarioFile(const std::string& path) {
    ScenarioText s;
    s.origin = path;
    s.baseDir = FolderOf(path);
    Bytes bytes;
    if (!ReadWholeFile(path, kMaxScenarioBytes, &bytes)) {
        s.error = "cannot read the scenario file";
        return s;
    }
    s.text.assign(bytes.begin(), bytes.end());
    return s;
}

ScenarioText FindStartupScenario() {
    std::string recording = EnvironmentValue("KVTSIM_RECORDING");
    if (!recording.empty()) {
        ScenarioText s;
        s.text = "[Replay]\nRecording = " + recording + "\n";
        s.origin = recording;
        return s;
    }
    std::string named = EnvironmentValue("KVTSIM_SCENARIO");
    if (!named.empty()) {
        return ReadScenarioFile(named);
    }
    // Only beside the library: a folder that cannot be named is not the current one.
    std::string folder = LibraryFolder();
    std::string beside = folder + "KVTItoPTP.ini";
    if (!folder.empty() && ::GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return ReadScenarioFile(beside);
    }
    ScenarioText s;
    s.text = BuiltInScenarioText();
    s.baseDir = folder;
    s.origin = "built-in";
    return s;
}

}  // namespace kvtsim
