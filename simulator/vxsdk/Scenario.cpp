#include "Scenario.h"

#include <vector>

#include "common/Win32.h"

namespace vxsim {
namespace {

constexpr DWORD kMaxStretch = 4096;

std::string DllFolder() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&DllFolder), &self)) {
        return std::string();
    }
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return std::string();
    }
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

// The INI reader looks for relative paths in the Windows folder: make it absolute.
std::string Absolute(const std::string& path) {
    char full[MAX_PATH] = {};
    DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return (n == 0 || n >= MAX_PATH) ? path : std::string(full, n);
}

class CIniReader {
public:
    explicit CIniReader(std::string path) : _path(std::move(path)) {}

    std::string Text(const char* section, const char* key, const std::string& fallback) const {
        std::vector<char> buf(kMaxStretch + 1);
        DWORD n = ::GetPrivateProfileStringA(section, key, "\x01", buf.data(),
                                             static_cast<DWORD>(buf.size()), _path.c_str());
        std::string value(buf.data(), n);
        return value == "\x01" ? fallback : value;
    }

    bool Flag(const char* section, const char* key, bool fallback) const {
        return ::GetPrivateProfileIntA(section, key, fallback ? 1 : 0, _path.c_str()) != 0;
    }

    // "<key>" with an optional "<key>Length" that stretches it.
    std::string Value(const char* key, const std::string& fallback) const {
        std::string value = Text("Camera", key, fallback);
        std::string lengthKey = std::string(key) + "Length";
        UINT length = ::GetPrivateProfileIntA("Camera", lengthKey.c_str(), 0, _path.c_str());
        if (length == 0 || length > kMaxStretch) {
            return value;
        }
        if (value.empty()) {
            value = "X";
        }
        std::string stretched;
        while (stretched.size() < length) {
            stretched += value;
        }
        stretched.resize(length);
        return stretched;
    }

private:
    std::string _path;
};

}  // namespace

std::string ScenarioPath() {
    char env[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariableA("VXSDK_SCENARIO", env, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        return Absolute(std::string(env, n));
    }
    std::string folder = DllFolder();
    return folder.empty() ? std::string() : folder + "VXSDK.ini";
}

Scenario LoadScenario() {
    Scenario s;
    std::string path = ScenarioPath();
    if (path.empty() || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return s;
    }
    CIniReader ini(path);
    s.cameraPresent = ini.Flag("Camera", "Present", s.cameraPresent);
    s.failStartUp = ini.Flag("Fail", "StartUp", s.failStartUp);
    s.failOpenSession = ini.Flag("Fail", "OpenSession", s.failOpenSession);
    s.productName = ini.Value("ProductName", s.productName);
    s.bodyNumber = ini.Value("BodyNumber", s.bodyNumber);
    s.firmware = ini.Value("Firmware", s.firmware);
    s.lens = ini.Value("Lens", s.lens);
    return s;
}

}  // namespace vxsim
