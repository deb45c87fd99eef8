// The release test program: loads "oxrmsg.dll" from its own folder, runs the commands
// of its command line in order and prints "@@ <command> = <result>" for each.
//
//   open  close                       KVT_OpenDevice, KVT_CloseDevice
//   rt:PATH  rts:PATH:SLOT  mvt:PATH  the release-and-transfer exports (PATH relative
//                                     to the current folder)
//   set:MODE  sets:MODE:SLOT          KVT_SetReleaseParameter(S) with word 0 = MODE,
//                                     FlavorMode 129, the quality code 1 in word 9
//   gets:SLOT                         KVT_GetReleaseParameterS; prints the 20 words
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "include/kvt_factory.h"

namespace {

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
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

unsigned long Number(const std::string& text) {
    return std::strtoul(text.c_str(), nullptr, 0);
}

ReleaseParameter Record(unsigned long mode) {
    ReleaseParameter r{};
    const std::uint32_t words[20] = {static_cast<std::uint32_t>(mode), 5, 0, 0, 72, 120, 20, 0,
                                     0, 1, 4, 129, 3, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 20; ++i) {
        r.Word[i] = words[i];
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        std::printf("@@ load failed %lu\n", ::GetLastError());
        return 2;
    }
    auto open = Bind<decltype(&KVT_OpenDevice)>(library, "KVT_OpenDevice");
    auto close = Bind<decltype(&KVT_CloseDevice)>(library, "KVT_CloseDevice");
    auto rt = Bind<decltype(&KVT_ReleaseAndTransfer)>(library, "KVT_ReleaseAndTransfer");
    auto rts = Bind<decltype(&KVT_ReleaseAndTransferS)>(library, "KVT_ReleaseAndTransferS");
    auto mvt = Bind<decltype(&MVT_ReleaseAndTransfer)>(library, "MVT_ReleaseAndTransfer");
    auto set = Bind<decltype(&KVT_SetReleaseParameter)>(library, "KVT_SetReleaseParameter");
    auto sets = Bind<decltype(&KVT_SetReleaseParameterS)>(library, "KVT_SetReleaseParameterS");
    auto gets = Bind<decltype(&KVT_GetReleaseParameterS)>(library, "KVT_GetReleaseParameterS");
    if (!open || !close || !rt || !rts || !mvt || !set || !sets || !gets) {
        std::printf("@@ missing export\n");
        return 3;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const std::vector<std::string> p = Split(command);
        const std::string& verb = p[0];
        std::string extra;
        unsigned long result = 0xFFFFFFFFul;
        if (verb == "open") {
            result = open();
        } else if (verb == "close") {
            result = close();
        } else if (verb == "rt" && p.size() == 2) {
            result = rt(p[1].c_str());
        } else if (verb == "rts" && p.size() == 3) {
            result = rts(p[1].c_str(), Number(p[2]));
        } else if (verb == "mvt" && p.size() == 2) {
            result = mvt(p[1].c_str());
        } else if (verb == "set" && p.size() == 2) {
            const ReleaseParameter r = Record(Number(p[1]));
            result = set(&r);
        } else if (verb == "sets" && p.size() == 3) {
            const ReleaseParameter r = Record(Number(p[1]));
            result = sets(&r, Number(p[2]));
        } else if (verb == "gets" && p.size() == 2) {
            ReleaseParameter r{};
            result = gets(&r, Number(p[1]));
            for (std::uint32_t w : r.Word) {
                extra += " " + std::to_string(w);
            }
        } else {
            std::printf("@@ %s = unknown\n", command.c_str());
            continue;
        }
        std::printf("@@ %s = %lu%s\n", command.c_str(), result, extra.c_str());
        std::fflush(stdout);
    }
    return 0;
}
