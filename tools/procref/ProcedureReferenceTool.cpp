// procref: writes the reference of a plug-in's event procedures (Markdown) from the
// plug-in's own registration and the description file kept beside its table.
//
//     procref [--lenient] [--compare <file>] <plug-in> <descriptions> <output.md>
//
// Every disagreement between the two (a registered name without a description, a
// description of an unregistered name, a size or direction that contradicts the
// registration) is printed; it fails the run unless --lenient. With --compare, the
// written reference must equal <file> byte for byte (the checked-in copy).
// Exit code: 0 success, 1 disagreements or a stale copy, 2 usage or a file or load error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/common/WholeFile.h"
#include "tools/procref/ProcedureDescriptions.h"
#include "tools/procref/ReferenceDocument.h"
#include "tools/procref/RegisteredProcedures.h"

namespace {

using kvttools::ReadWholeFile;
using kvttools::WriteWholeFile;

int Usage() {
    std::fprintf(stderr,
                 "usage: procref [--lenient] [--compare <file>] <plug-in> <descriptions> <output.md>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool lenient = false;
    std::string compareWith;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lenient") == 0) {
            lenient = true;
        } else if (std::strcmp(argv[i], "--compare") == 0 && i + 1 < argc) {
            compareWith = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return Usage();
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.size() != 3) {
        return Usage();
    }
    const std::string& plugIn = files[0];
    const std::string& descriptionFile = files[1];
    const std::string& output = files[2];

    std::vector<procref::RegisteredProcedure> registered;
    std::string error;
    if (!procref::CollectRegistrations(plugIn, registered, error)) {
        std::fprintf(stderr, "procref: %s\n", error.c_str());
        return 2;
    }
    std::string content;
    if (!ReadWholeFile(descriptionFile, content)) {
        std::fprintf(stderr, "procref: cannot read %s\n", descriptionFile.c_str());
        return 2;
    }
    std::vector<std::string> problems;
    const std::vector<procref::Description> descriptions =
        procref::ParseDescriptions(content, descriptionFile, problems);
    for (const std::string& problem : procref::CheckReference(registered, descriptions)) {
        problems.push_back(problem);
    }

    const std::string reference = procref::RenderReference(registered, descriptions);
    if (!WriteWholeFile(output, reference)) {
        std::fprintf(stderr, "procref: cannot write %s\n", output.c_str());
        return 2;
    }
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "procref: %s%s\n", lenient ? "warning: " : "", problem.c_str());
    }
    int status = (!problems.empty() && !lenient) ? 1 : 0;
    if (!compareWith.empty()) {
        std::string checkedIn;
        if (!ReadWholeFile(compareWith, checkedIn)) {
            std::fprintf(stderr, "procref: cannot read %s\n", compareWith.c_str());
            return 2;
        }
        if (checkedIn != reference) {
            std::fprintf(stderr,
                         "procref: %s is not the reference the plug-in gives (%s); copy the "
                         "generated file over it (build target procref_update)\n",
                         compareWith.c_str(), output.c_str());
            status = 1;
        }
    }
    std::printf("procref: %u names, %u descriptions, %u problems -> %s\n",
                static_cast<unsigned>(registered.size()),
                static_cast<unsigned>(descriptions.size()), static_cast<unsigned>(problems.size()),
                output.c_str());
    return status;
}
