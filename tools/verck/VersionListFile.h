// The entries of a version list and their two forms: the text list a developer
// edits ("plugin <file name> <FileVersion>" / "ini <file name> <FileVersion>", one a
// line, '#' comments) and the encoded file "_Q517_/Property/verck" the factory API
// library checks. Plain C++ without Win32, so the tool also builds for the build machine.
#pragma once

#include <string>
#include <vector>

namespace verck {

struct Entry {
    enum class Kind { PlugIn, Ini } kind;
    std::string name;
    std::string version;
};

// Parses the text list. On a malformed line returns false with "line <n>: <reason>".
bool ParseList(const std::string& text, std::vector<Entry>& entries, std::string& error);

// Checks one entry against what the library's checks can match; "" when it is fine.
std::string CheckEntry(const Entry& entry);

// The encoded file: two 32-bit fields per entry; plug-in names and versions and INI
// names encoded, INI versions stored as they are.
std::string EncodeList(const std::vector<Entry>& entries);

// Reads an encoded file back; false with a reason if it is malformed.
bool DecodeList(const std::string& bytes, std::vector<Entry>& entries, std::string& error);

}  // namespace verck
