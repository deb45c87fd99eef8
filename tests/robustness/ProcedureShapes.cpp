#include "robustness/ProcedureShapes.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "support/TestSupport.h"

namespace robust {
namespace {

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    const std::size_t e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Sizes of the records of the public header kvt_records.h.
const std::map<std::string, std::size_t>& RecordSizes() {
    static const std::map<std::string, std::size_t> sizes{
        {"BODYID_T", 20},       {"DATETIME_T", 24},          {"PROPERTY_DATA_T", 72},
        {"ABOARD_EEPROM_DATA_T", 520}, {"DIGITAL_PARA_ADJ_T", 8}, {"u32", 4},
        {"i32", 4},             {"double", 8}};
    return sizes;
}

ProcedureShape Parse(const std::string& name, const std::string& parameter, std::size_t boardInfSize) {
    ProcedureShape shape;
    shape.name = name;
    shape.parameter = parameter;
    if (parameter == "none") {
        return shape;
    }
    std::istringstream in(parameter);
    std::vector<std::string> w;
    for (std::string word; in >> word;) {
        w.push_back(word);
    }
    const std::string direction = w.empty() ? std::string() : w.back();
    shape.in = direction == "in" || direction == "in/out";
    shape.out = direction == "out" || direction == "in/out";
    if (w.size() == 2 && RecordSizes().count(w[0]) != 0) {
        shape.size = RecordSizes().at(w[0]);
    } else if (w.size() == 3 && w[0] == "two" && w[1] == "u32") {
        shape.size = 8;
    } else if (w.size() == 3 && (w[0] == "text" || w[0] == "bytes")) {
        shape.size = std::strtoul(w[1].c_str(), nullptr, 10);
    } else if (w.size() == 2 && w[0] == "bytes") {
        shape.size = boardInfSize;
    } else {
        shape.known = false;
    }
    shape.known = shape.known && (shape.in || shape.out) && shape.size != 0;
    return shape;
}

}  // namespace

std::vector<ProcedureShape> ReadProcedureShapes(const std::string& path, std::size_t boardInfSize) {
    std::vector<ProcedureShape> shapes;
    for (const std::string& line : kvttest::SplitLines(kvttest::ReadFileBytes(path))) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t bar1 = line.find('|');
        const std::size_t bar2 = line.find('|', bar1 + 1);
        if (bar1 == std::string::npos || bar2 == std::string::npos) {
            continue;
        }
        shapes.push_back(Parse(Trim(line.substr(0, bar1)), Trim(line.substr(bar1 + 1, bar2 - bar1 - 1)),
                               boardInfSize));
    }
    return shapes;
}

}  // namespace robust
