#include "tools/verck/VersionListFile.h"

#include <sstream>

#include "factory_api/plugin/VersionCipher.h"

namespace verck {
namespace {

constexpr std::size_t kMaxIniVersion = 9;   // the INI reader keeps at most 9 characters

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool MentionsIni(const std::string& text) {
    return text.find(".ini") != std::string::npos;
}

void AppendField(std::string& out, const std::string& text, bool encode) {
    char field[kFieldSize] = {};
    if (encode) {
        EncodeField(text, field);
    } else {
        text.copy(field, kMaxFieldText);
    }
    out.append(field, kFieldSize);
}

}  // namespace

bool ParseList(const std::string& text, std::vector<Entry>& entries, std::string& error) {
    std::istringstream in(text);
    std::string line;
    for (unsigned number = 1; std::getline(in, line); ++number) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        // "<kind> <name> <version>"; the name may contain blanks, the version not.
        const std::size_t kindEnd = line.find_first_of(" \t");
        const std::size_t versionStart = line.find_last_of(" \t");
        if (kindEnd == std::string::npos || versionStart <= kindEnd) {
            error = "line " + std::to_string(number) + ": expected <kind> <name> <version>";
            return false;
        }
        Entry entry{Entry::Kind::PlugIn, Trim(line.substr(kindEnd, versionStart - kindEnd)),
                    line.substr(versionStart + 1)};
        const std::string kind = line.substr(0, kindEnd);
        if (kind == "ini") {
            entry.kind = Entry::Kind::Ini;
        } else if (kind != "plugin") {
            error = "line " + std::to_string(number) + ": kind must be plugin or ini";
            return false;
        }
        const std::string problem = CheckEntry(entry);
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        entries.push_back(entry);
    }
    return true;
}

std::string CheckEntry(const Entry& entry) {
    if (entry.name.empty() || entry.version.empty()) {
        return "empty name or version";
    }
    if (entry.name.size() > kMaxFieldText || entry.version.size() > kMaxFieldText) {
        return "a name or version has more than 31 characters";
    }
    if (entry.kind == Entry::Kind::Ini) {
        if (!MentionsIni(entry.name)) {
            return "an INI file name must contain \".ini\"";
        }
        if (entry.version.size() > kMaxIniVersion) {
            return "an INI FileVersion has at most 9 characters";
        }
    } else if (MentionsIni(entry.name) || MentionsIni(entry.version)) {
        // The INI check would take such a field for an INI entry.
        return "a plug-in entry must not contain \".ini\"";
    }
    return std::string();
}

std::string EncodeList(const std::vector<Entry>& entries) {
    std::string out;
    for (const Entry& entry : entries) {
        AppendField(out, entry.name, true);
        AppendField(out, entry.version, entry.kind == Entry::Kind::PlugIn);
    }
    return out;
}

bool DecodeList(const std::string& bytes, std::vector<Entry>& entries, std::string& error) {
    if (bytes.size() % (2 * kFieldSize) != 0) {
        error = "the size is not a whole number of entries";
        return false;
    }
    for (std::size_t at = 0; at < bytes.size(); at += 2 * kFieldSize) {
        char fields[2][kFieldSize];
        bytes.copy(fields[0], kFieldSize, at);
        bytes.copy(fields[1], kFieldSize, at + kFieldSize);
        std::string_view name;
        std::string_view version;
        if (!FieldText(fields[0], name) || !FieldText(fields[1], version)) {
            error = "a field without its terminating zero";
            return false;
        }
        Entry entry{Entry::Kind::PlugIn, std::string(), std::string(version)};
        for (char c : name) {
            entry.name.push_back(DecodeChar(c));
        }
        if (MentionsIni(entry.name)) {
            entry.kind = Entry::Kind::Ini;
        } else {
            for (char& c : entry.version) {
                c = DecodeChar(c);
            }
        }
        entries.push_back(entry);
    }
    return true;
}

}  // namespace verck
