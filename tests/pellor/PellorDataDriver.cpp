// The test factory program of the data procedures: loads "oxrmsg.dll" from its own
// folder, runs the commands of its command line in order and prints one line
// "@@ <command> = <result> [bytes]" per command.
//
//   open                      KVT_OpenDevice
//   folder=TEXT               publishes TEXT in the FOLDER block (held open till exit)
//   folder-fill=N             publishes N copies of 'a' followed by "\x"
//   buf=HEX  zero=N           the parameter buffer: these bytes / N zero bytes
//   exec=NAME                 KVT_ExecuteEventProc(NAME, buffer); prints the buffer
//   execs=NAME:SIZE           KVT_ExecuteEventProcS with SIZE; prints the buffer
//   null=NAME                 KVT_ExecuteEventProc(NAME, nullptr)
//   bodyblock                 prints the 8 bytes of the BODYID block
//   time=NAME                 KVT_ExecuteEventProc, printing the milliseconds it took
//                             as "[12.3]"
//   direct=FOLDER             writes every catalogued property's file (zeros of its
//                             rounded size) into FOLDER directly, with the calls
//                             LoadPropertyData uses; prints the milliseconds
// A procedure name (or the folder of "direct") may end in "#<n>" to tell repeated
// commands apart; that part is not used.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/Handles.h"
#include "common/Win32.h"
#include "plugins/pellor/PropertyCatalogue.h"
#include "plugins/pellor/PropertyDataFile.h"

namespace {

typedef unsigned long(__stdcall* OpenDevice_t)();
typedef unsigned long(__stdcall* ExecuteEventProc_t)(const char*, void*);
typedef unsigned long(__stdcall* ExecuteEventProcS_t)(const char*, void*, unsigned long);

std::string Hex(const std::vector<unsigned char>& bytes) {
    std::string out;
    char two[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(two, sizeof(two), i == 0 ? "%02x" : " %02x", bytes[i]);
        out += two;
    }
    return out;
}

std::vector<unsigned char> FromHex(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    }
    return bytes;
}

// A named block of the system, created or opened and held for the driver's life.
class Block {
public:
    Block(const char* name, const char* mutexName, unsigned size) : _size(size) {
        _mapping.Reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name));
        if (_mapping) {
            _view.Reset(::MapViewOfFile(_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
        }
        _mutex.Reset(::CreateMutexA(nullptr, FALSE, mutexName));
    }
    void Write(const std::string& bytes) {
        kvt::MutexLock lock(_mutex.Get());
        if (_view) {
            std::memset(_view.Get(), 0, _size);
            std::memcpy(_view.Get(), bytes.data(), bytes.size() < _size ? bytes.size() : _size);
        }
    }
    std::vector<unsigned char> Read() {
        kvt::MutexLock lock(_mutex.Get());
        std::vector<unsigned char> out(_size, 0);
        if (_view) {
            std::memcpy(out.data(), _view.Get(), _size);
        }
        return out;
    }

private:
    unsigned _size;
    kvt::UniqueKernelHandle _mapping;
    kvt::UniqueMappedView _view;
    kvt::UniqueKernelHandle _mutex;
};

void Report(const std::string& command, unsigned long result, const std::string& extra = "") {
    std::printf("@@ %s = %lu%s%s\n", command.c_str(), result, extra.empty() ? "" : " ",
                extra.c_str());
    std::fflush(stdout);
}

std::string Milliseconds(std::chrono::steady_clock::time_point start) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    char text[32];
    std::snprintf(text, sizeof(text), "[%.1f]", ms);
    return text;
}

// The same files LoadPropertyData writes, without the camera and the log.
void WriteCatalogueFiles(const std::string& folder) {
    for (unsigned i = 0; i < pellor::kPropertyCount; ++i) {
        const pellor::PROPERTY_DATA_T& record = pellor::kPropTable[i];
        const std::uint32_t size = (record.Size + 3u) / 4u * 4u;
        std::vector<unsigned char> data(size, 0);
        pellor::WritePropertyDataFile(folder + pellor::PropertyDataFileName(record.ID),
                                      data.data(), size);
    }
}

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv) {
    Block folder("SHARED_NAME_FOLDER", "MUTEX_NAME_FOLDER", 261);
    Block body("SHARED_NAME_BODYID", "MUTEX_NAME_BODYID", 8);
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        std::printf("@@ load failed %lu\n", ::GetLastError());
        return 2;
    }
    auto openDevice = Bind<OpenDevice_t>(library, "KVT_OpenDevice");
    auto execute = Bind<ExecuteEventProc_t>(library, "KVT_ExecuteEventProc");
    auto executeS = Bind<ExecuteEventProcS_t>(library, "KVT_ExecuteEventProcS");
    if (openDevice == nullptr || execute == nullptr || executeS == nullptr) {
        std::printf("@@ missing export\n");
        return 3;
    }
    std::vector<unsigned char> buffer(16, 0);
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const std::size_t eq = command.find('=');
        const std::string verb = command.substr(0, eq);
        std::string arg = eq == std::string::npos ? std::string() : command.substr(eq + 1);
        if (verb == "exec" || verb == "execs" || verb == "null" || verb == "time" ||
            verb == "direct") {
            const std::size_t hash = arg.find('#');
            const std::size_t colon = arg.find(':');
            if (hash != std::string::npos) {
                arg.erase(hash, colon == std::string::npos || colon < hash ? std::string::npos
                                                                            : colon - hash);
            }
        }
        if (verb == "open") {
            Report(command, openDevice());
        } else if (verb == "folder") {
            folder.Write(arg);
            Report(command, 0);
        } else if (verb == "folder-fill") {
            folder.Write(std::string(std::strtoul(arg.c_str(), nullptr, 0), 'a') + "\\x");
            Report(command, 0);
        } else if (verb == "buf") {
            buffer = FromHex(arg);
            Report(command, 0);
        } else if (verb == "zero") {
            buffer.assign(std::strtoul(arg.c_str(), nullptr, 0), 0);
            Report(command, 0);
        } else if (verb == "exec") {
            const unsigned long r = execute(arg.c_str(), buffer.data());
            Report(command, r, "[" + Hex(buffer) + "]");
        } else if (verb == "execs") {
            const std::size_t colon = arg.find(':');
            const std::string name = arg.substr(0, colon);
            const unsigned long size = std::strtoul(arg.substr(colon + 1).c_str(), nullptr, 0);
            const unsigned long r = executeS(name.c_str(), buffer.data(), size);
            Report(command, r, "[" + Hex(buffer) + "]");
        } else if (verb == "null") {
            Report(command, execute(arg.c_str(), nullptr));
        } else if (verb == "bodyblock") {
            Report(command, 0, "[" + Hex(body.Read()) + "]");
        } else if (verb == "time") {
            const auto start = std::chrono::steady_clock::now();
            const unsigned long r = execute(arg.c_str(), buffer.data());
            Report(command, r, Milliseconds(start));
        } else if (verb == "direct") {
            const auto start = std::chrono::steady_clock::now();
            unsigned long r = 0;
            try {
                WriteCatalogueFiles(arg);
            } catch (CException* e) {
                r = e->Code();
                delete e;
            }
            Report(command, r, Milliseconds(start));
        } else {
            Report(command, 0xFFFFFFFFul, "unknown command");
        }
    }
    return 0;
}
