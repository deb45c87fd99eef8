// kvt release FILE: remote release and transfer; kvt release-params get|set: the
// release parameters.
#include <cstring>

#include "include/kvt_factory.h"
#include "tools/kvt/Commands.h"
#include "tools/kvt/FieldPrinter.h"
#include "tools/kvt/Failures.h"
#include "tools/kvt/ParameterValues.h"
#include "tools/kvt/Paths.h"
#include "tools/kvt/Progress.h"
#include "tools/kvt/ResultCodes.h"
#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

// Which Get/Set exports: plain, Ex (word 6 never written) or S (a camera slot).
struct ParameterExports {
    const kvttools::FactoryExports& api;
    bool ex = false;
    int camera = -1;   // -1: no slot

    void Get(ReleaseParameter& parameter) const {
        if (camera >= 0) {
            Require("KVT_GetReleaseParameterS",
                    api.getReleaseParameterS(&parameter, static_cast<unsigned long>(camera)));
        } else if (ex) {
            Require("KVT_GetReleaseParameterEx", api.getReleaseParameterEx(&parameter));
        } else {
            Require("KVT_GetReleaseParameter", api.getReleaseParameter(&parameter));
        }
    }
    unsigned long Set(const ReleaseParameter& parameter, const char*& step) const {
        if (camera >= 0) {
            step = "KVT_SetReleaseParameterS";
            return api.setReleaseParameterS(&parameter, static_cast<unsigned long>(camera));
        }
        if (ex) {
            step = "KVT_SetReleaseParameterEx";
            return api.setReleaseParameterEx(&parameter);
        }
        step = "KVT_SetReleaseParameter";
        return api.setReleaseParameter(&parameter);
    }
};

struct QualityName {
    const char* name;
    std::uint32_t code;
};
const QualityName kQualities[] = {
    {"jpeg", KVT_QUALITY_JPEG},
    {"raw", KVT_QUALITY_RAW},
    {"raw+jpeg", KVT_QUALITY_RAW_JPEG},
};

// -1: keep the camera's quality code.
long QualityOf(const CommandLine& args) {
    if (args.Has("raw") && args.Has("quality")) {
        throw UsageError("--raw and --quality do not go together");
    }
    if (args.Has("raw")) {
        return KVT_QUALITY_RAW_JPEG;
    }
    if (!args.Has("quality")) {
        return -1;
    }
    const std::string text = args.Value("quality");
    for (const QualityName& quality : kQualities) {
        if (text == quality.name) {
            return static_cast<long>(quality.code);
        }
    }
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        return static_cast<long>(ParseNumber(text, 0, 255, "--quality"));
    }
    throw UsageError("--quality: \"" + text + "\" is none of jpeg, raw, raw+jpeg or a code 0 to 255");
}

// The FILE argument as the library takes it: absolute, with an extension (the images
// are named after the text up to the last dot).
std::string ReleaseFile(const CommandContext& context) {
    std::string file = AbsolutePath(context.Arg(0, "FILE"), KVT_PATH_MAX, "FILE");
    context.NoMoreArgs(1);
    const std::string folder = FolderOf(file);
    if (file.size() == folder.size()) {
        throw UsageError("FILE: \"" + context.Arg(0, "FILE") + "\" names a folder, not a file");
    }
    if (file.find('.', folder.size()) == std::string::npos) {
        file += ".jpg";
        if (file.size() > KVT_PATH_MAX) {
            throw UsageError("FILE: longer than " + std::to_string(KVT_PATH_MAX) + " characters");
        }
    }
    if (!IsFolder(folder)) {
        throw UsageError("FILE: the folder " + folder + " does not exist");
    }
    return file;
}

struct Image {
    std::string path;
    std::int64_t size;
};

// The images of this release: raw first, as the camera gives them.
std::vector<Image> Images(const std::string& stem, const FILETIME& since) {
    std::vector<Image> images;
    for (const char* extension : {".tr2", ".jpg"}) {
        const std::string path = stem + extension;
        if (WrittenSince(FolderOf(path), path.substr(FolderOf(path).size()).c_str(), since) != 0) {
            images.push_back(Image{path, FileSize(path)});
        }
    }
    return images;
}

std::string TransferStatus(const std::string& stem) {
    std::int64_t bytes = 0;
    for (const char* extension : {".tr2", ".jpg"}) {
        const std::int64_t size = FileSize(stem + extension);
        bytes += size > 0 ? size : 0;
    }
    return Format("releasing and transferring: %.1f MB", bytes / 1048576.0);
}

void PrintImages(Output& out, const char* step, long quality, const std::vector<Image>& images) {
    if (out.Json()) {
        JsonWriter& doc = out.Doc();
        doc.Member("export", step);
        if (quality >= 0) {
            doc.Member("quality", quality);
        }
        doc.Key("images").BeginArray();
        for (const Image& image : images) {
            doc.BeginObject().Member("file", image.path).Member("size", image.size).EndObject();
        }
        doc.EndArray();
        return;
    }
    for (const Image& image : images) {
        out.Textf("%s  %lld bytes\n", image.path.c_str(), static_cast<long long>(image.size));
    }
    if (images.empty()) {
        out.Text("no image written\n");
    }
}

// release-params get and set: the words read (and changed and written), printed.
int ChangeParameters(CommandContext& context, const std::vector<std::string>& assignments) {
    const Layout& layout = *FindRecordLayout("ReleaseParameter");
    const kvttools::FactoryExports& api = context.Api();
    const ParameterExports parameters{api, context.args.Has("ex"), context.args.camera};
    OpenDevice device(api);
    ReleaseParameter record;
    std::memset(&record, 0, sizeof(record));
    parameters.Get(record);
    std::string bytes(reinterpret_cast<const char*>(&record), sizeof(record));
    if (!assignments.empty()) {
        ApplyAssignments(layout, assignments, bytes, "ReleaseParameter");
        std::memcpy(&record, bytes.data(), sizeof(record));
        const char* step = "";
        const unsigned long set = parameters.Set(record, step);
        Require(step, set);
    }
    device.Close();

    Output& out = context.out;
    if (out.Json()) {
        out.Doc().Member("action", assignments.empty() ? "get" : "set");
        if (context.args.camera >= 0) {
            out.Doc().Member("camera", context.args.camera);
        }
    } else {
        out.Text(assignments.empty() ? "ReleaseParameter:\n" : "ReleaseParameter written:\n");
    }
    PrintFields(out, layout, bytes, "parameters");
    return 0;
}

int GetParameters(CommandContext& context) {
    context.NoMoreArgs(1);
    return ChangeParameters(context, {});
}

int SetParameters(CommandContext& context) {
    const std::vector<std::string> assignments(context.args.positionals.begin() + 1,
                                               context.args.positionals.end());
    if (assignments.empty()) {
        throw UsageError("set needs FIELD=VALUE, for example Word[9]=7");
    }
    // Every value checked before anything reaches the camera.
    std::string check(sizeof(ReleaseParameter), '\0');
    ApplyAssignments(*FindRecordLayout("ReleaseParameter"), assignments, check, "ReleaseParameter");
    return ChangeParameters(context, assignments);
}

}  // namespace

int RunRelease(CommandContext& context) {
    const std::string file = ReleaseFile(context);
    const long quality = QualityOf(context.args);
    const bool mvt = context.args.Has("mvt");
    const int camera = context.args.camera;
    if (mvt && camera >= 0) {
        throw UsageError("--mvt and --camera do not go together: MVT_ReleaseAndTransfer has no camera slot");
    }

    const kvttools::FactoryExports& api = context.Api();
    const ParameterExports parameters{api, false, camera};
    OpenDevice device(api);

    // The quality code for this release, the old one put back afterwards.
    ReleaseParameter saved;
    std::memset(&saved, 0, sizeof(saved));
    bool restore = false;
    const char* setStep = "";
    if (quality >= 0) {
        parameters.Get(saved);
        if (saved.Word[KVT_RELEASE_WORD_QUALITY] != static_cast<kvt_u32>(quality)) {
            ReleaseParameter changed = saved;
            changed.Word[KVT_RELEASE_WORD_QUALITY] = static_cast<kvt_u32>(quality);
            const unsigned long set = parameters.Set(changed, setStep);
            if (set != KVT_OK) {
                // A set that failed halfway leaves its earlier writes: put them back.
                const char* ignored = "";
                parameters.Set(saved, ignored);
                Require(setStep, set);
            }
            restore = true;
        }
    }

    const std::string stem = file.substr(0, file.find_last_of('.'));
    const char* step = camera >= 0 ? "KVT_ReleaseAndTransferS"
                       : mvt       ? "MVT_ReleaseAndTransfer"
                                   : "KVT_ReleaseAndTransfer";
    const FILETIME start = Now();
    unsigned long result = KVT_OK;
    {
        Progress progress(context.out, [&] { return TransferStatus(stem); });
        result = camera >= 0 ? api.releaseAndTransferS(file.c_str(), static_cast<unsigned long>(camera))
                 : mvt       ? api.mvtReleaseAndTransfer(file.c_str())
                             : api.releaseAndTransfer(file.c_str());
    }
    const unsigned long restored = restore ? parameters.Set(saved, setStep) : KVT_OK;

    PrintImages(context.out, step, quality, Images(stem, start));
    device.Close();
    Require(step, result);
    Require(setStep, restored);
    return 0;
}

int RunReleaseParameters(CommandContext& context) {
    if (context.args.Has("ex") && context.args.camera >= 0) {
        throw UsageError("--ex and --camera do not go together: the Ex exports have no camera slot");
    }
    return RunAction(context, {{"get", &GetParameters}, {"set", &SetParameters}});
}

}  // namespace kvtcli
