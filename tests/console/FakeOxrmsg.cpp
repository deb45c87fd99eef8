// Test double of the factory API library as the console tool loads it ("oxrmsg.dll"):
// the six exports it binds, __stdcall and undecorated. It serves scripted bytes per
// address and writes every call to a log; both files lie beside the DLL:
//
//   oxrmsg-script.txt   "read <address> <hex bytes...>"  bytes served at that address
//                       "fail <export name>"             that export returns 1
//   oxrmsg-calls.txt    one line per call: the export name and its arguments
//
// A read of an unscripted address delivers nothing. Built with
// FAKE_OXRMSG_WITHOUT_READ_MEMORY it lacks KVT_MonitorReadMemory.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/Win32.h"

namespace {

struct Script {
    std::map<std::uint32_t, std::vector<std::uint8_t>> bytes;
    std::set<std::string> failing;
};

std::string DllFolder() {
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&DllFolder), &self);
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(self, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

const Script& TheScript() {
    static const Script script = [] {
        Script s;
        FILE* f = std::fopen((DllFolder() + "oxrmsg-script.txt").c_str(), "r");
        if (f == nullptr) {
            return s;
        }
        char line[1024];
        while (std::fgets(line, sizeof(line), f) != nullptr) {
            std::istringstream in(line);
            std::string word;
            in >> word;
            if (word == "fail") {
                in >> word;
                s.failing.insert(word);
            } else if (word == "read") {
                std::uint32_t address = 0;
                in >> address;
                std::vector<std::uint8_t>& bytes = s.bytes[address];
                unsigned value = 0;
                while (in >> std::hex >> value) {
                    bytes.push_back(static_cast<std::uint8_t>(value));
                }
            }
        }
        std::fclose(f);
        return s;
    }();
    return script;
}

std::uint32_t Called(const char* name, const std::string& arguments = std::string()) {
    FILE* f = std::fopen((DllFolder() + "oxrmsg-calls.txt").c_str(), "ab");
    if (f != nullptr) {
        std::fprintf(f, "%s%s\n", name, arguments.c_str());
        std::fclose(f);
    }
    return TheScript().failing.count(name) != 0 ? 1u : 0u;
}

}  // namespace

#define FAKE_EXPORT extern "C" __declspec(dllexport) std::uint32_t __stdcall

FAKE_EXPORT KVT_OpenDevice() {
    return Called("KVT_OpenDevice");
}
FAKE_EXPORT KVT_CloseDevice() {
    return Called("KVT_CloseDevice");
}
FAKE_EXPORT KVT_MonitorOpenSession() {
    return Called("KVT_MonitorOpenSession");
}
FAKE_EXPORT KVT_MonitorCloseSession() {
    return Called("KVT_MonitorCloseSession");
}
FAKE_EXPORT KVT_MonitorChangeBank(std::uint32_t bank) {
    return Called("KVT_MonitorChangeBank", " " + std::to_string(bank));
}

#ifndef FAKE_OXRMSG_WITHOUT_READ_MEMORY
FAKE_EXPORT KVT_MonitorReadMemory(std::uint32_t address, std::uint32_t size,
                                  std::uint8_t* buffer) {
    std::uint32_t result =
        Called("KVT_MonitorReadMemory", " " + std::to_string(address) + " " + std::to_string(size));
    auto it = TheScript().bytes.find(address);
    if (it != TheScript().bytes.end() && buffer != nullptr) {
        std::size_t n = it->second.size() < size ? it->second.size() : size;
        std::memcpy(buffer, it->second.data(), n);
    }
    return result;
}
#endif
