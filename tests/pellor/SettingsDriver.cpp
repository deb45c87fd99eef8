// The test factory program of the settings procedures: loads "oxrmsg.dll" from its own
// folder and runs the commands of its command line in order. After each command it
// prints
//     @@ <command> = <result> [<buffer as hex>]
//     @@trace <the camera-side procedures the command ran>
//     @@log <each line the command added to KvtDll.log, stamps removed>
//     @@end
//
//   open                          KVT_OpenDevice; binds the simulated camera's controls
//   reset                         the simulated camera back to its startup scenario
//   sim:TEXT                      applies a scenario text ('|' stands for a line break)
//   exec:NAME:SIZE[:HEX]          KVT_ExecuteEventProc with a SIZE-byte buffer of cc
//                                 bytes, HEX written over its start
//   execs:NAME:SIZE:PARAMSIZE[:zero]  KVT_ExecuteEventProcS with a SIZE-byte buffer of cc
//                                 bytes (or zeros)
//   null:NAME                     KVT_ExecuteEventProc with a null parameter
//   getlist                       the plug-in's GetEventProcList on an empty table:
//                                 prints "empty" or the number of heads set
//   getlist-null                  GetEventProcList(null)
//   initlist                      which of "RegisterInitializeFuncList" and
//                                 "_RegisterInitializeFuncList@4" the plug-in exports,
//                                 and the result of the latter
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "factory_api/plugin/PlugInContract.h"
#include "include/kvt_factory.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace {

struct Api {
    decltype(&KVT_OpenDevice) openDevice = nullptr;
    decltype(&KVT_ExecuteEventProc) execute = nullptr;
    decltype(&KVT_ExecuteEventProcS) executeS = nullptr;
};

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

std::vector<std::string> Split(const std::string& text, std::size_t most) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < most) {
        const std::size_t colon = text.find(':', start);
        if (colon == std::string::npos) {
            break;
        }
        parts.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof(two), "%02x", c);
        out += two;
    }
    return out;
}

std::string Buffer(const std::string& size, const std::string& hex) {
    std::string buffer(std::strtoul(size.c_str(), nullptr, 0), '\xcc');
    for (std::size_t i = 0; i + 1 < hex.size() && i / 2 < buffer.size(); i += 2) {
        buffer[i / 2] = static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    }
    return buffer;
}

class Printer {
public:
    // A buffer is shown as hex, a text (asText) as it is.
    void Step(const std::string& command, unsigned long result, const std::string& buffer,
              bool asText, kvttest::SimCamera* sim) {
        std::printf("@@ %s = %lu [%s]\n", command.c_str(), result,
                    asText ? buffer.c_str() : Hex(buffer).c_str());
        if (sim != nullptr) {
            std::printf("@@trace %s\n", sim->Trace().c_str());
            sim->ClearJournal();
        } else {
            std::printf("@@trace \n");
        }
        const std::vector<std::string> log = kvttest::ReadLogLines("KvtDll.log");
        for (std::size_t i = _seen; i < log.size(); ++i) {
            std::printf("@@log %s\n", log[i].c_str());
        }
        _seen = log.size();
        std::printf("@@end\n");
        std::fflush(stdout);
    }

private:
    std::size_t _seen = 0;
};

HMODULE PlugIn() {
    return ::GetModuleHandleA("Pellor.q517");
}

}  // namespace

int main(int argc, char** argv) {
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        std::printf("@@ load failed %lu\n", ::GetLastError());
        return 2;
    }
    Api api;
    api.openDevice = Bind<decltype(api.openDevice)>(library, "KVT_OpenDevice");
    api.execute = Bind<decltype(api.execute)>(library, "KVT_ExecuteEventProc");
    api.executeS = Bind<decltype(api.executeS)>(library, "KVT_ExecuteEventProcS");
    if (api.openDevice == nullptr || api.execute == nullptr || api.executeS == nullptr) {
        std::printf("@@ missing export\n");
        return 3;
    }

    Printer printer;
    kvttest::SimCamera* sim = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const std::string verb = command.substr(0, command.find(':'));
        std::string buffer;
        bool asText = false;
        unsigned long result = 0;
        if (verb == "open") {
            result = api.openDevice();
            // The simulated camera is the one the core library loaded from this folder.
            if (sim == nullptr) {
                sim = new kvttest::SimCamera();
                result = sim->Ok() ? result : 1000;
                sim->ClearJournal();
            }
        } else if (verb == "reset" && sim != nullptr) {
            result = sim->Reset() ? 0 : 1;
        } else if (verb == "sim" && sim != nullptr) {
            std::string text = command.substr(4);
            for (char& c : text) {
                c = c == '|' ? '\n' : c;
            }
            result = sim->Apply(text) ? 0 : 1;
            if (result != 0) {
                std::printf("@@error %s\n", sim->Error().c_str());
            }
            sim->ClearJournal();
        } else if (verb == "exec") {
            const std::vector<std::string> p = Split(command, 4);
            buffer = Buffer(p.size() > 2 ? p[2] : "16", p.size() > 3 ? p[3] : "");
            result = api.execute(p[1].c_str(), &buffer[0]);
        } else if (verb == "execs") {
            const std::vector<std::string> p = Split(command, 5);
            buffer = Buffer(p.size() > 2 ? p[2] : "16", "");
            if (p.size() > 4 && p[4] == "zero") {
                buffer.assign(buffer.size(), '\0');
            }
            result = api.executeS(p[1].c_str(), &buffer[0],
                                  std::strtoul(p.size() > 3 ? p[3].c_str() : "0", nullptr, 0));
        } else if (verb == "null") {
            result = api.execute(command.substr(5).c_str(), nullptr);
        } else if (verb == "getlist" || verb == "getlist-null") {
            auto getList = Bind<GetEventProcList_t>(PlugIn(), "GetEventProcList");
            if (getList == nullptr) {
                result = 1000;
            } else if (verb == "getlist-null") {
                result = getList(nullptr);
            } else {
                auto* table = new EventProcTable{};
                result = getList(table);
                unsigned heads = 0;
                for (EventProcRecord* head : table->Bucket) {
                    heads += head != nullptr ? 1 : 0;
                }
                buffer = heads == 0 ? "empty" : std::to_string(heads);
                asText = true;
            }
        } else if (verb == "initlist") {
            const bool plain = ::GetProcAddress(PlugIn(), "RegisterInitializeFuncList") != nullptr;
            auto decorated =
                Bind<unsigned long(__stdcall*)(void*)>(PlugIn(), "_RegisterInitializeFuncList@4");
            buffer = std::string(plain ? "plain " : "") + (decorated ? "decorated" : "");
            asText = true;
            result = decorated != nullptr ? decorated(nullptr) : 1000;
        } else {
            std::printf("@@ unknown command %s\n", command.c_str());
            return 4;
        }
        printer.Step(command, result, buffer, asText, sim);
    }
    return 0;
}
