// The INI text of a scenario: "[section]" lines, "key = value" lines, and whole-line
// comments starting with ';' or '#'. Entries keep their order and line numbers.
#pragma once

#include <string>
#include <vector>

namespace kvtsim {

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    unsigned line = 0;
};

bool ParseIni(const std::string& text, std::vector<IniEntry>* entries, std::string* error);

// ASCII case-insensitive comparison, for section and key names.
bool SameName(const std::string& a, const std::string& b);

}  // namespace kvtsim
