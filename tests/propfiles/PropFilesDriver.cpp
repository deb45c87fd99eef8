// The test factory program of the property-file, path and debug-folder tests. It loads
// "oxrmsg.dll" from its own folder, links the Corvane.dll beside it (for CFilePath and
// the body-ID block), runs the commands of its command line in order and prints one
// line "@@ <command> = <result> [text]" per command.
//
// Arguments of a command are separated by '|'. An argument "(null)" is a null pointer,
// "(chars:N)" a text of N letters 'x'. Parts beyond a command's arguments only label
// the line, so that a repeated command can be told apart ("save|A|f.bin|again").
//
//   open  close                     KVT_OpenDevice, KVT_CloseDevice
//   load|NAME|PATH  save|NAME|PATH  KVT_LoadProperty, KVT_SaveProperty (save prints ms=)
//   setfile|PATH  delfile           KVT_SetFilePath, KVT_DeleteFilePath
//   setfolder|PATH  delfolder       KVT_SetFolderPath, KVT_DeleteFolderPath
//   debug                           KVT_Debug
//   block|FILE  block|FOLDER        the path block as another module sees it: "<index
//                                   of its first zero byte> <nonzero bytes after it>
//                                   <text>", or "(none)" when no module holds it
//   indiv|MAIN|SUB                  CFilePath::CreateIndividualDirectory (Corvane's)
//   body-get  body-set|N            the 64-bit value of "SHARED_NAME_BODYID"
//   squat|NAME                      an event of that name, held to the end, so that no
//                                   file mapping of the name can be created
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/FilePath.h"
#include "common/Handles.h"
#include "common/SharedMemory.h"
#include "common/Win32.h"
#include "include/kvt_factory.h"
#include "support/FactoryApi.h"

namespace {

// An argument as the export gets it; the texts live as long as the parsed command.
struct Argument {
    bool null = false;
    std::string text;
    const char* Get() const { return null ? nullptr : text.c_str(); }
};

Argument Parse(const std::string& raw) {
    Argument a;
    if (raw == "(null)") {
        a.null = true;
    } else if (raw.rfind("(chars:", 0) == 0) {
        a.text.assign(std::strtoul(raw.c_str() + 7, nullptr, 10), 'x');
    } else {
        a.text = raw;
    }
    return a;
}

std::vector<Argument> Split(const std::string& command) {
    std::vector<Argument> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = command.find('|', start);
        parts.push_back(Parse(command.substr(start, bar - start)));
        if (bar == std::string::npos) {
            return parts;
        }
        start = bar + 1;
    }
}

void Report(const std::string& command, unsigned long result, const std::string& extra = "") {
    std::printf("@@ %s = %lu%s%s\n", command.c_str(), result, extra.empty() ? "" : " ",
                extra.c_str());
    std::fflush(stdout);
}

// The block as another module opens it, without creating it.
std::string BlockText(const char* name) {
    kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, name));
    if (!mapping) {
        return "(none)";
    }
    kvt::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 261));
    if (!view) {
        return "(no view)";
    }
    const char* text = static_cast<const char*>(view.Get());
    const std::size_t zero = strnlen(text, 261);
    std::size_t trail = 0;   // nonzero bytes after the first zero
    for (std::size_t i = zero; i < 261; ++i) {
        trail += text[i] != 0 ? 1 : 0;
    }
    return std::to_string(zero) + " " + std::to_string(trail) + " " + std::string(text, zero);
}

std::string IndividualDirectory(const std::string& main, const std::string& sub,
                                unsigned long* code) {
    try {
        CFilePath path;
        std::string made = path.CreateIndividualDirectory(main, sub);
        *code = 0;
        return made;
    } catch (CException* e) {
        *code = e->Code();
        std::string message = e->Message();
        delete e;
        return message;
    } catch (...) {
        *code = 33;
        return "(not a CException)";
    }
}

}  // namespace

int main(int argc, char** argv) {
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        std::printf("@@ load failed %lu\n", ::GetLastError());
        return 2;
    }
    kvttest::FactoryApi api;
    if (!api.Bind(library)) {
        return 3;
    }
    std::vector<kvt::UniqueKernelHandle> squatters;
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const std::vector<Argument> p = Split(command);
        const std::string& verb = p[0].text;
        if (verb == "open") {
            Report(command, api.openDevice());
        } else if (verb == "close") {
            Report(command, api.closeDevice());
        } else if (verb == "load" && p.size() >= 3) {
            Report(command, api.loadProperty(p[1].Get(), p[2].Get()));
        } else if (verb == "save" && p.size() >= 3) {
            const DWORD start = ::GetTickCount();
            const unsigned long r = api.saveProperty(p[1].Get(), p[2].Get());
            Report(command, r, "ms=" + std::to_string(::GetTickCount() - start));
        } else if (verb == "setfile" && p.size() >= 2) {
            Report(command, api.setFilePath(p[1].Get()));
        } else if (verb == "delfile") {
            Report(command, api.deleteFilePath());
        } else if (verb == "setfolder" && p.size() >= 2) {
            Report(command, api.setFolderPath(p[1].Get()));
        } else if (verb == "delfolder") {
            Report(command, api.deleteFolderPath());
        } else if (verb == "debug") {
            Report(command, api.debug());
        } else if (verb == "block" && p.size() >= 2) {
            Report(command, 0,
                   BlockText(p[1].text == "FILE" ? "SHARED_NAME_FILE" : "SHARED_NAME_FOLDER"));
        } else if (verb == "indiv" && p.size() >= 3) {
            unsigned long code = 0;
            const std::string text = IndividualDirectory(p[1].text, p[2].text, &code);
            Report(command, code, text);
        } else if (verb == "body-get") {
            CBodyIDSharedMemory block;
            std::uint64_t number = 0;
            const bool read = kvt::BlockAccess(block).Read(number);
            Report(command, read ? 0 : 1, std::to_string(number));
        } else if (verb == "body-set" && p.size() >= 2) {
            CBodyIDSharedMemory block;
            const std::uint64_t number = std::strtoull(p[1].text.c_str(), nullptr, 0);
            Report(command, kvt::BlockAccess(block).Write(number) ? 0 : 1);
        } else if (verb == "squat" && p.size() >= 2) {
            squatters.emplace_back(::CreateEventA(nullptr, TRUE, FALSE, p[1].text.c_str()));
            Report(command, squatters.back() ? 0 : 1);
        } else {
            Report(command, 9999, "unknown command");
        }
    }
    return 0;
}
