#include "tools/kvt/CommandLine.h"

#include "tools/kvt/Failures.h"
#include "tools/kvt/Suggestions.h"
#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

const OptionInfo kGlobalOptions[] = {
    {"json", nullptr, "one JSON document on standard output"},
    {"camera", "N", "camera slot N"},
    {"help", nullptr, "this help"},
    {"verbose", nullptr, "the libraries' own console lines on standard error"},
};

bool IsOption(const std::string& arg) {
    // "-5" is a negative number, "-" alone a value.
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

// "--name=value" / "--name" / "-h": the name, and the value after '=' if there is one.
std::string OptionName(const std::string& arg, std::string& inlineValue, bool& hasInline) {
    std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
    const std::size_t equals = name.find('=');
    hasInline = equals != std::string::npos;
    if (hasInline) {
        inlineValue = name.substr(equals + 1);
        name.resize(equals);
    }
    return name == "h" ? "help" : name;
}

const OptionInfo* FindOption(const std::string& name, const std::vector<OptionInfo>& own) {
    for (const OptionInfo& entry : kGlobalOptions) {
        if (name == entry.name) {
            return &entry;
        }
    }
    for (const OptionInfo& entry : own) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

[[noreturn]] void UnknownOption(const std::string& arg, const std::string& name,
                                const std::vector<OptionInfo>& own) {
    std::vector<std::string> known;
    for (const OptionInfo& entry : kGlobalOptions) {
        known.push_back(entry.name);
    }
    for (const OptionInfo& entry : own) {
        known.push_back(entry.name);
    }
    std::string message = "unknown option " + arg;
    const std::vector<std::string> nearest = NearestNames(name, known, 2);
    if (!nearest.empty()) {
        message += "; did you mean --" + nearest[0] + (nearest.size() > 1 ? " or --" + nearest[1] : "") + "?";
    }
    throw UsageError(message);
}

}  // namespace

std::string CommandLine::Value(const std::string& option) const {
    const auto found = _options.find(option);
    return found == _options.end() ? std::string() : found->second;
}

std::string FindCommandWord(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            return i + 1 < args.size() ? args[i + 1] : std::string();
        }
        if (!IsOption(arg)) {
            return arg;
        }
        if (arg == "--camera") {
            ++i;   // its value
        }
    }
    return std::string();
}

CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<OptionInfo>& commandOptions) {
    CommandLine line;
    bool commandSeen = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !IsOption(arg)) {
            if (!commandSeen) {
                line.command = arg;
                commandSeen = true;
            } else {
                line.positionals.push_back(arg);
            }
            continue;
        }
        std::string value;
        bool hasInline = false;
        const std::string name = OptionName(arg, value, hasInline);
        const OptionInfo* entry = FindOption(name, commandOptions);
        if (entry == nullptr) {
            UnknownOption(arg, name, commandOptions);
        }
        if (entry->value == nullptr && hasInline) {
            throw UsageError("--" + name + " takes no value");
        }
        if (entry->value != nullptr && !hasInline) {
            if (i + 1 >= args.size()) {
                throw UsageError("--" + name + " needs a value (" + entry->value + ")");
            }
            value = args[++i];
        }
        if (name == "json") {
            line.json = true;
        } else if (name == "help") {
            line.help = true;
        } else if (name == "verbose") {
            // taken before parsing (StandardStreams)
        } else if (name == "camera") {
            line.camera = static_cast<int>(ParseNumber(value, 0, kCameraSlots - 1, "--camera"));
        } else {
            line.Set(name, value);
        }
    }
    return line;
}

}  // namespace kvtcli
