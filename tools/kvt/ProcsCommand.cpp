// kvt procs [PATTERN]: the event procedures the loaded plug-ins registered.
#include "tools/kvt/Commands.h"
#include "tools/kvt/ProcedureRegistry.h"

namespace kvtcli {
namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Wildcard match with * and ?, letter case ignored.
bool WildcardMatch(const char* pattern, const char* name) {
    if (*pattern == '\0') {
        return *name == '\0';
    }
    if (*pattern == '*') {
        for (const char* rest = name;; ++rest) {
            if (WildcardMatch(pattern + 1, rest)) {
                return true;
            }
            if (*rest == '\0') {
                return false;
            }
        }
    }
    return *name != '\0' && (*pattern == '?' || Fold(*pattern) == Fold(*name)) &&
           WildcardMatch(pattern + 1, name + 1);
}

bool Selected(const std::string& pattern, const std::string& name) {
    if (pattern.empty()) {
        return true;
    }
    if (pattern.find_first_of("*?") != std::string::npos) {
        return WildcardMatch(pattern.c_str(), name.c_str());
    }
    return WildcardMatch(("*" + pattern + "*").c_str(), name.c_str());
}

std::string ParameterText(const std::string& name) {
    const procref::Description* documented = DocumentedProcedure(name);
    return documented != nullptr ? documented->parameterText : std::string("?");
}

void PrintPlugIns(Output& out, const Registry& registry) {
    if (out.Json()) {
        JsonWriter& doc = out.Doc();
        doc.Member("folder", registry.folder).Key("plugIns").BeginArray();
        for (const PlugInState& plugIn : registry.plugIns) {
            doc.BeginObject()
                .Member("file", plugIn.file)
                .Member("loaded", plugIn.loaded)
                .Member("registered", plugIn.registered);
            if (!plugIn.problem.empty()) {
                doc.Member("problem", plugIn.problem);
            }
            doc.EndObject();
        }
        doc.EndArray();
        return;
    }
    for (const PlugInState& plugIn : registry.plugIns) {
        if (!plugIn.problem.empty()) {
            out.Message(plugIn.file + ": " + plugIn.problem);
        }
    }
}

}  // namespace

int RunProcs(CommandContext& context) {
    const std::string pattern = context.args.positionals.empty() ? std::string()
                                                                  : context.args.positionals[0];
    context.NoMoreArgs(1);
    const Registry registry = ObserveRegistry(context.Library());
    Output& out = context.out;
    PrintPlugIns(out, registry);

    std::size_t shown = 0;
    if (out.Json()) {
        out.Doc().Key("procedures").BeginArray();
    } else {
        out.Textf("%-4s %-36s %5s %-9s %-28s %s\n", "#", "Name", "Size", "Direction", "Parameter",
                  "Plug-in");
    }
    for (std::size_t i = 0; i < registry.names.size(); ++i) {
        const RegisteredName& entry = registry.names[i];
        if (!Selected(pattern, entry.name)) {
            continue;
        }
        ++shown;
        if (out.Json()) {
            out.Doc()
                .BeginObject()
                .Member("number", i + 1)
                .Member("name", entry.name)
                .Member("size", entry.size)
                .Member("direction", DirectionName(entry.direction))
                .Member("parameter", ParameterText(entry.name))
                .Member("plugIn", entry.plugIn)
                .EndObject();
        } else {
            out.Textf("%-4u %-36s %5lu %-9s %-28s %s\n", static_cast<unsigned>(i + 1),
                      entry.name.c_str(), entry.size, DirectionName(entry.direction).c_str(),
                      ParameterText(entry.name).c_str(), entry.plugIn.c_str());
        }
    }
    if (out.Json()) {
        out.Doc().EndArray().Member("registered", registry.names.size()).Member("shown", shown);
    } else {
        out.Textf("%u of %u registered names\n", static_cast<unsigned>(shown),
                  static_cast<unsigned>(registry.names.size()));
    }
    if (registry.names.empty()) {
        out.Message("no event procedure is registered: oxrmsg.dll loaded no plug-in from " +
                    registry.folder);
        return 1;
    }
    return 0;
}

}  // namespace kvtcli
