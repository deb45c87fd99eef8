// verck: writes the version list "_Q517_/Property/verck" from a text list, or shows
// the entries of an encoded list.
//
//     verck <text list> <output file>
//     verck --show <encoded list>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/WholeFile.h"
#include "tools/verck/VersionListFile.h"

namespace {

using kvttools::ReadWholeFile;
using kvttools::WriteWholeFile;

int Usage() {
    std::fprintf(stderr,
                 "usage: verck <text list> <output file>\n"
                 "       verck --show <encoded list>\n");
    return 2;
}

int Show(const std::string& path) {
    std::string bytes;
    std::vector<verck::Entry> entries;
    std::string error;
    if (!ReadWholeFile(path, bytes)) {
        std::fprintf(stderr, "verck: cannot read %s\n", path.c_str());
        return 1;
    }
    if (!verck::DecodeList(bytes, entries, error)) {
        std::fprintf(stderr, "verck: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    for (const verck::Entry& entry : entries) {
        std::printf("%s %s %s\n", entry.kind == verck::Entry::Kind::Ini ? "ini" : "plugin",
                    entry.name.c_str(), entry.version.c_str());
    }
    return 0;
}

int Write(const std::string& listPath, const std::string& outputPath) {
    std::string text;
    std::vector<verck::Entry> entries;
    std::string error;
    if (!ReadWholeFile(listPath, text)) {
        std::fprintf(stderr, "verck: cannot read %s\n", listPath.c_str());
        return 1;
    }
    if (!verck::ParseList(text, entries, error)) {
        std::fprintf(stderr, "verck: %s: %s\n", listPath.c_str(), error.c_str());
        return 1;
    }
    if (!WriteWholeFile(outputPath, verck::EncodeList(entries))) {
        std::fprintf(stderr, "verck: cannot write %s\n", outputPath.c_str());
        return 1;
    }
    std::printf("verck: %u entries written to %s\n", static_cast<unsigned>(entries.size()),
                outputPath.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--show") {
        return Show(argv[2]);
    }
    if (argc == 3) {
        return Write(argv[1], argv[2]);
    }
    return Usage();
}
