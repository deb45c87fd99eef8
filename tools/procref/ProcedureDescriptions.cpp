#include "tools/procref/ProcedureDescriptions.h"

#include <cstdlib>
#include <sstream>

#include "include/kvt_records.h"

namespace procref {
namespace {

struct NamedSize {
    const char* type;
    unsigned long size;
};

// Shapes of fixed size. The records take their sizes from the SDK header, so the
// reference shows what a caller's sizeof gives.
const NamedSize kFixedShapes[] = {
    {"u32", 4},
    {"i32", 4},
    {"double", sizeof(double)},
    {"two u32", 8},
    {"BODYID_T", sizeof(BODYID_T)},
    {"DATETIME_T", sizeof(DATETIME_T)},
    {"PROPERTY_DATA_T", sizeof(PROPERTY_DATA_T)},
    {"ABOARD_EEPROM_DATA_T", sizeof(ABOARD_EEPROM_DATA_T)},
    {"DIGITAL_PARA_ADJ_T", sizeof(DIGITAL_PARA_ADJ_T)},
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return std::string();
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// "text 16" / "bytes 36": the count, which must be a positive decimal number.
bool SizedType(const std::string& type, const char* word, unsigned long& size) {
    const std::string head = std::string(word) + " ";
    if (type.compare(0, head.size(), head) != 0) {
        return false;
    }
    const std::string digits = type.substr(head.size());
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
        digits.size() > 7) {
        return false;
    }
    size = std::strtoul(digits.c_str(), nullptr, 10);
    return size > 0;
}

}  // namespace

const char* FlowName(Flow flow) {
    switch (flow) {
        case Flow::In: return "in";
        case Flow::Out: return "out";
        case Flow::InOut: return "in/out";
        case Flow::None: break;
    }
    return "-";
}

bool ParseShape(const std::string& text, ParameterShape& shape) {
    shape = ParameterShape();
    const std::string trimmed = Trim(text);
    if (trimmed == "none") {
        return true;
    }
    const auto blank = trimmed.find_last_of(' ');
    if (blank == std::string::npos) {
        return false;
    }
    const std::string direction = trimmed.substr(blank + 1);
    if (direction == "in") {
        shape.flow = Flow::In;
    } else if (direction == "out") {
        shape.flow = Flow::Out;
    } else if (direction == "in/out") {
        shape.flow = Flow::InOut;
    } else {
        return false;
    }
    shape.type = Trim(trimmed.substr(0, blank));
    for (const NamedSize& fixed : kFixedShapes) {
        if (shape.type == fixed.type) {
            shape.size = fixed.size;
            return true;
        }
    }
    if (shape.type == "bytes") {
        return true;   // the size is given elsewhere (for example an INI file)
    }
    return SizedType(shape.type, "text", shape.size) || SizedType(shape.type, "bytes", shape.size);
}

std::vector<Description> ParseDescriptions(const std::string& content, const std::string& fileName,
                                           std::vector<std::string>& problems) {
    std::vector<Description> descriptions;
    std::istringstream lines(content);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            continue;
        }
        const std::string where = fileName + ":" + std::to_string(number) + ": ";
        const auto bar1 = trimmed.find('|');
        const auto bar2 = bar1 == std::string::npos ? bar1 : trimmed.find('|', bar1 + 1);
        if (bar2 == std::string::npos || trimmed.find('|', bar2 + 1) != std::string::npos) {
            problems.push_back(where + "expected \"<name> | <parameter> | <what it does>\"");
            continue;
        }
        Description d;
        d.line = number;
        d.name = Trim(trimmed.substr(0, bar1));
        d.parameterText = Trim(trimmed.substr(bar1 + 1, bar2 - bar1 - 1));
        d.text = Trim(trimmed.substr(bar2 + 1));
        if (d.name.empty() || d.text.empty()) {
            problems.push_back(where + "empty name or description");
            continue;
        }
        if (!ParseShape(d.parameterText, d.parameter)) {
            problems.push_back(where + d.name + ": \"" + d.parameterText +
                               "\" is not a parameter shape");
            continue;
        }
        descriptions.push_back(d);
    }
    return descriptions;
}

}  // namespace procref
