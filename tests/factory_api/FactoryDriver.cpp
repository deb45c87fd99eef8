// The test factory program: loads "oxrmsg.dll" from its own folder (the loader then
// resolves the library's Corvane.dll there too), runs the commands of its command line
// in order and prints one line "@@ <command> = <result> [bytes]" per command.
//
//   open  close  unload                  KVT_OpenDevice, KVT_CloseDevice, FreeLibrary
//   monopen  monclose  bank:N  call:N    monitor session, bank kind, camera function
//   read:ADDR:SIZE  write:ADDR:HEX       camera memory (prints the bytes read)
//   exec:NAME[:SIZE]  execs:NAME:SIZE    the execute exports with a buffer of SIZE bytes
//   exec-null  execs-null                a null procedure name
//   exec-long:N                          a name of N letters
//   name-set:TEXT  name-get              the event-procedure-name block
//   block-set:NAME:HEX                   writes HEX at the start of the named block
//   block-get:NAME:SIZE                  prints the first SIZE bytes of the named block
//                                        (both hold the block open till the driver ends)
//   module:FILE                          the low 32 bits of FILE's module handle
//   reload                               loads "oxrmsg.dll" again after "unload"
//   transport                            1 if the simulated camera library is loaded
//   logsize                              size of KvtDll.log in the current folder
// Numbers are decimal or 0x-hexadecimal.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"
#include "include/kvt_factory.h"
#include "support/FactoryApi.h"

namespace {

unsigned long Number(const std::string& text) {
    return std::strtoul(text.c_str(), nullptr, 0);
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos) {
            return parts;
        }
        start = colon + 1;
    }
}

std::string Hex(const unsigned char* bytes, std::size_t n) {
    std::string out;
    char two[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(two, sizeof(two), i == 0 ? "%02x" : " %02x", bytes[i]);
        out += two;
    }
    return out;
}

std::vector<unsigned char> Bytes(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    }
    return bytes;
}

// The name block, held open for the driver's life so its content outlives each call.
class NameBlock {
public:
    NameBlock() {
        _mapping.Reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 128,
                                            "SHARED_NAME_EVENTPROCNAME"));
        if (_mapping) {
            _view.Reset(::MapViewOfFile(_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 128));
        }
    }
    void Set(const std::string& text) {
        if (_view) {
            std::memset(_view.Get(), 0, 128);
            std::memcpy(_view.Get(), text.data(), text.size() < 127 ? text.size() : 127);
        }
    }
    std::string Get() const {
        if (!_view) {
            return "(no block)";
        }
        const char* p = static_cast<const char*>(_view.Get());
        return std::string(p, strnlen(p, 128));
    }

private:
    kvt::UniqueKernelHandle _mapping;
    kvt::UniqueMappedView _view;
};

// Named blocks of the system opened by name, each held for the driver's life so that
// their content outlives the library's own openers.
class RawBlocks {
public:
    unsigned char* View(const std::string& name) {
        for (Block& b : _blocks) {
            if (b.name == name) {
                return static_cast<unsigned char*>(b.view.Get());
            }
        }
        _blocks.emplace_back();
        Block& b = _blocks.back();
        b.name = name;
        b.mapping.Reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             kMaxSize, name.c_str()));
        if (b.mapping) {
            b.view.Reset(::MapViewOfFile(b.mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        }
        return static_cast<unsigned char*>(b.view.Get());
    }
    static constexpr std::size_t kMaxSize = 261;   // the largest block of the system

private:
    struct Block {
        std::string name;
        kvt::UniqueKernelHandle mapping;
        kvt::UniqueMappedView view;
    };
    std::list<Block> _blocks;   // stable addresses: views stay where they are
};

void Report(const std::string& command, unsigned long result, const std::string& extra = "") {
    std::printf("@@ %s = %lu%s%s\n", command.c_str(), result, extra.empty() ? "" : " ",
                extra.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    NameBlock nameBlock;
    RawBlocks blocks;
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        std::printf("@@ load failed %lu\n", ::GetLastError());
        return 2;
    }
    kvttest::FactoryApi api;
    if (!api.Bind(library)) {
        return 3;
    }
    std::vector<unsigned char> buffer;
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const std::vector<std::string> p = Split(command);
        const std::string& verb = p[0];
        if (verb == "open") {
            Report(command, api.openDevice());
        } else if (verb == "close") {
            Report(command, api.closeDevice());
        } else if (verb == "unload") {
            ::FreeLibrary(library);
            library = nullptr;
            Report(command, 0);
        } else if (verb == "monopen") {
            Report(command, api.monitorOpenSession());
        } else if (verb == "monclose") {
            Report(command, api.monitorCloseSession());
        } else if (verb == "bank" && p.size() == 2) {
            Report(command, api.monitorChangeBank(Number(p[1])));
        } else if (verb == "call" && p.size() == 2) {
            Report(command, api.monitorCallFunction(Number(p[1])));
        } else if (verb == "read" && p.size() == 3) {
            buffer.assign(Number(p[2]), 0);
            const unsigned long r =
                api.monitorReadMemory(Number(p[1]), Number(p[2]), buffer.data());
            Report(command, r, "[" + Hex(buffer.data(), buffer.size()) + "]");
        } else if (verb == "write" && p.size() == 3) {
            buffer = Bytes(p[2]);
            Report(command, api.monitorWriteMemory(Number(p[1]), buffer.size(), buffer.data()));
        } else if (verb == "exec" && (p.size() == 2 || p.size() == 3)) {
            buffer.assign(p.size() == 3 ? Number(p[2]) : 16, 0);
            const unsigned long r = api.executeEventProc(p[1].c_str(), buffer.data());
            Report(command, r, "[" + Hex(buffer.data(), buffer.size()) + "]");
        } else if (verb == "execs" && p.size() == 3) {
            buffer.assign(Number(p[2]) + 16, 0);
            const unsigned long r =
                api.executeEventProcS(p[1].c_str(), buffer.data(), Number(p[2]));
            Report(command, r, "[" + Hex(buffer.data(), Number(p[2])) + "]");
        } else if (verb == "exec-null") {
            Report(command, api.executeEventProc(nullptr, buffer.data()));
        } else if (verb == "execs-null") {
            Report(command, api.executeEventProcS(nullptr, buffer.data(), 0));
        } else if (verb == "exec-long" && p.size() == 2) {
            const std::string name(Number(p[1]), 'A');
            Report(command, api.executeEventProc(name.c_str(), nullptr));
        } else if (verb == "name-set" && p.size() == 2) {
            nameBlock.Set(p[1]);
            Report(command, 0);
        } else if (verb == "name-get") {
            Report(command, 0, "[" + nameBlock.Get() + "]");
        } else if (verb == "block-set" && p.size() == 3) {
            unsigned char* view = blocks.View(p[1]);
            const std::vector<unsigned char> bytes = Bytes(p[2]);
            if (view != nullptr && bytes.size() <= RawBlocks::kMaxSize) {
                std::memcpy(view, bytes.data(), bytes.size());
            }
            Report(command, view != nullptr ? 0 : 1);
        } else if (verb == "block-get" && p.size() == 3) {
            const unsigned char* view = blocks.View(p[1]);
            const std::size_t size = Number(p[2]) < RawBlocks::kMaxSize ? Number(p[2])
                                                                         : RawBlocks::kMaxSize;
            Report(command, view != nullptr ? 0 : 1,
                   view != nullptr ? "[" + Hex(view, size) + "]" : "");
        } else if (verb == "module" && p.size() == 2) {
            const auto handle = reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(p[1].c_str()));
            Report(command, static_cast<unsigned long>(handle & 0xFFFFFFFFu));
        } else if (verb == "reload") {
            library = ::LoadLibraryA("oxrmsg.dll");
            Report(command, library != nullptr && api.Bind(library) ? 0 : 1);
        } else if (verb == "transport") {
            Report(command, ::GetModuleHandleA("KVTItoPTP.dll") != nullptr ? 1 : 0);
        } else if (verb == "logsize") {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            const bool found = ::GetFileAttributesExA("KvtDll.log", GetFileExInfoStandard, &data);
            Report(command, found ? data.nFileSizeLow : 0);
        } else {
            Report(command, 0xFFFFFFFFul, "unknown command");
        }
    }
    if (library != nullptr) {
        ::FreeLibrary(library);
    }
    return 0;
}
