#include "simulator/camera/IniText.h"

namespace kvtsim {
namespace {
std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) {
        return std::string();
    }
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool ParseIni(const std::string& text, std::vector<IniEntry>* entries, std::string* error) {
    std::string section;
    unsigned lineNo = 0;
    std::size_t pos = 0;
    // A UTF-8 byte order mark at the start is skipped.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        pos = 3;
    }
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']') {
                *error = "line " + std::to_string(lineNo) + ": a section line ends with ']'";
                return false;
            }
            section = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) {
            *error = "line " + std::to_string(lineNo) + ": expected 'key = value'";
            return false;
        }
        if (section.empty()) {
            *error = "line " + std::to_string(lineNo) + ": a key before the first section";
            return false;
        }
        entries->push_back({section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), lineNo});
    }
    return true;
}

}  // namespace kvtsim
