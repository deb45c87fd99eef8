// kvt prop load|save|dump: adjustment properties to and from files.
#include "include/kvt_factory.h"
#include "tools/kvt/Commands.h"
#include "tools/kvt/Failures.h"
#include "tools/kvt/Paths.h"
#include "tools/kvt/Progress.h"
#include "tools/kvt/ResultCodes.h"

namespace kvtcli {
namespace {

// "<id>.bin": eight hex digits and the extension, behind the dump folder.
constexpr std::size_t kDumpFileNameLength = 12;

std::string PropertyName(const CommandContext& context) {
    const std::string& name = context.Arg(1, "NAME");
    if (name.empty() || name.size() >= KVT_PROPERTY_NAME_SIZE) {
        throw UsageError("NAME: a property name has 1 to " +
                         std::to_string(KVT_PROPERTY_NAME_SIZE - 1) + " characters");
    }
    return name;
}

int Load(CommandContext& context) {
    const std::string name = PropertyName(context);
    const std::string file = AbsolutePath(context.Arg(2, "FILE"), KVT_PATH_MAX, "FILE");
    context.NoMoreArgs(3);
    if (!IsFolder(FolderOf(file))) {
        throw UsageError("FILE: the folder " + FolderOf(file) + " does not exist");
    }
    const kvttools::FactoryExports& api = context.Api();
    OpenDevice device(api);
    Require("KVT_LoadProperty", api.loadProperty(name.c_str(), file.c_str()));
    device.Close();

    const std::int64_t size = FileSize(file);
    if (context.out.Json()) {
        context.out.Doc().Member("action", "load").Member("name", name).Member("file", file).Member("size", size);
    }
    context.out.Textf("%s: %lld bytes written to %s\n", name.c_str(), static_cast<long long>(size),
                      file.c_str());
    return 0;
}

int Save(CommandContext& context) {
    const std::string name = PropertyName(context);
    const std::string file = AbsolutePath(context.Arg(2, "FILE"), KVT_PATH_MAX, "FILE");
    context.NoMoreArgs(3);
    const std::int64_t size = FileSize(file);
    if (size < 0) {
        throw UsageError("FILE: " + file + " does not exist");
    }
    const kvttools::FactoryExports& api = context.Api();
    OpenDevice device(api);
    Require("KVT_SaveProperty", api.saveProperty(name.c_str(), file.c_str()));
    device.Close();

    if (context.out.Json()) {
        context.out.Doc().Member("action", "save").Member("name", name).Member("file", file).Member("size", size);
    }
    context.out.Textf("%s: %lld bytes from %s written and stored\n", name.c_str(),
                      static_cast<long long>(size), file.c_str());
    return 0;
}

int Dump(CommandContext& context) {
    std::string folder = AbsolutePath(context.Arg(1, "FOLDER"), KVT_PATH_MAX - kDumpFileNameLength - 1,
                                      "FOLDER");
    context.NoMoreArgs(2);
    if (folder.back() != '\\') {
        folder += '\\';   // LoadPropertyData drops what follows the last backslash
    }
    if (IsFile(folder.substr(0, folder.size() - 1))) {
        throw UsageError("FOLDER: " + folder + " is a file");
    }
    MakeFolders(folder);

    const kvttools::FactoryExports& api = context.Api();
    OpenDevice device(api);
    Require("KVT_SetFolderPath", api.setFolderPath(folder.c_str()));
    const FILETIME start = Now();
    unsigned long result = KVT_OK;
    {
        Progress progress(context.out, [&] {
            return "dumping adjustment properties: " + std::to_string(WrittenSince(folder, "*.bin", start)) +
                   " files";
        });
        result = api.executeEventProcS("LoadPropertyData", nullptr, 0);
    }
    const std::size_t files = WrittenSince(folder, "*.bin", start);
    Output& out = context.out;
    if (out.Json()) {
        out.Doc().Member("action", "dump").Member("folder", folder).Member("files", files);
    }
    out.Textf("%u property files written to %s\n", static_cast<unsigned>(files), folder.c_str());
    device.Close();
    Require("LoadPropertyData", result);
    return 0;
}

}  // namespace

int RunProperty(CommandContext& context) {
    return RunAction(context, {{"load", &Load}, {"save", &Save}, {"dump", &Dump}});
}

}  // namespace kvtcli
