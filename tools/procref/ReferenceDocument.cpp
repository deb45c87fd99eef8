#include "tools/procref/ReferenceDocument.h"

#include <map>
#include <set>

namespace procref {
namespace {

const Description* FindDescription(const std::vector<Description>& descriptions,
                                   const std::string& name) {
    for (const Description& d : descriptions) {
        if (d.name == name) {
            return &d;
        }
    }
    return nullptr;
}

bool FlowMatches(unsigned long registeredDirection, Flow flow) {
    switch (registeredDirection) {
        case kDirectionIn: return flow == Flow::In || flow == Flow::InOut;
        case kDirectionOut: return flow == Flow::Out || flow == Flow::InOut;
        default: return true;   // nothing declared
    }
}

const char* RegisteredDirectionName(unsigned long direction) {
    switch (direction) {
        case kDirectionIn: return "in";
        case kDirectionOut: return "out";
        default: return "none";
    }
}

std::string SizeCell(const ParameterShape& shape) {
    if (shape.flow == Flow::None) {
        return "-";
    }
    return shape.size != 0 ? std::to_string(shape.size) : "varies";
}

std::string ParameterCell(const ParameterShape& shape) {
    if (shape.flow == Flow::None) {
        return "none";
    }
    const bool record = shape.type.size() > 2 && shape.type.compare(shape.type.size() - 2, 2, "_T") == 0;
    return record ? "`" + shape.type + "`" : shape.type;
}

}  // namespace

std::vector<std::string> CheckReference(const std::vector<RegisteredProcedure>& registered,
                                        const std::vector<Description>& descriptions) {
    std::vector<std::string> problems;
    std::set<std::string> registeredNames;
    for (std::size_t i = 0; i < registered.size(); ++i) {
        const RegisteredProcedure& row = registered[i];
        const std::string where = row.name + " (row " + std::to_string(i + 1) + ")";
        if (!registeredNames.insert(row.name).second) {
            problems.push_back(where + " is registered twice");
        }
        const Description* d = FindDescription(descriptions, row.name);
        if (d == nullptr) {
            problems.push_back(where + " has no description");
            continue;
        }
        const ParameterShape& shape = d->parameter;
        if (row.size != 0 && shape.size != row.size) {
            problems.push_back(where + " is registered with " + std::to_string(row.size) +
                               " bytes, its parameter \"" + d->parameterText + "\" has " +
                               (shape.size != 0 ? std::to_string(shape.size) : "no fixed size"));
        }
        if (row.size != 0 && !FlowMatches(row.direction, shape.flow)) {
            problems.push_back(where + " is registered as " + RegisteredDirectionName(row.direction) +
                               ", its parameter \"" + d->parameterText + "\" is " +
                               FlowName(shape.flow));
        }
    }
    std::map<std::string, int> firstLine;
    for (const Description& d : descriptions) {
        auto seen = firstLine.emplace(d.name, d.line);
        if (!seen.second) {
            problems.push_back(d.name + " is described twice (lines " +
                               std::to_string(seen.first->second) + " and " +
                               std::to_string(d.line) + ")");
        }
        if (registeredNames.count(d.name) == 0) {
            problems.push_back(d.name + " (line " + std::to_string(d.line) +
                               ") is described but not registered");
        }
    }
    return problems;
}

std::string RenderReference(const std::vector<RegisteredProcedure>& registered,
                            const std::vector<Description>& descriptions) {
    std::map<std::uintptr_t, std::string> firstNameOf;
    for (const RegisteredProcedure& row : registered) {
        firstNameOf.emplace(row.procedure, row.name);
    }

    std::string doc;
    doc += "# Event procedures of the camera settings plug-in\n\n";
    doc += "Generated from the registration table of `Pellor.q517` and the descriptions in\n"
           "`plugins/pellor/ProcedureDescriptions.txt` by `tools/procref`; do not edit.\n\n";
    doc += "A factory program runs a procedure with\n"
           "`KVT_ExecuteEventProcS(name, pParameter, parameterSize)` (`kvt_factory.h`) after\n"
           "`KVT_OpenDevice`; the result is the procedure's result code (0 for success).\n\n";
    doc += "- **Parameter**: what the procedure reads (in) or fills (out) through\n"
           "  `pParameter`; records are declared in `kvt_records.h`, `text N` is a\n"
           "  zero-terminated text in N bytes, `bytes N` N bytes as they are. For `none`\n"
           "  the pointer is not used (pass NULL and 0).\n"
           "- **Size**: the bytes of the parameter.\n"
           "- **Checked**: the size `KVT_ExecuteEventProcS` compares with `parameterSize`\n"
           "  (a difference returns 3); `-` means it is not compared.\n\n";
    doc += std::to_string(registered.size()) + " names, " + std::to_string(firstNameOf.size()) +
           " procedures.\n\n";
    doc += "| # | Name | Parameter | Direction | Size | Checked | What it does |\n";
    doc += "|---:|---|---|---|---:|---:|---|\n";
    for (std::size_t i = 0; i < registered.size(); ++i) {
        const RegisteredProcedure& row = registered[i];
        const Description* d = FindDescription(descriptions, row.name);
        ParameterShape shape;
        std::string text = "(no description)";
        if (d != nullptr) {
            shape = d->parameter;
            text = d->text;
        }
        const std::string& first = firstNameOf[row.procedure];
        if (first != row.name) {
            text += " Same procedure as `" + first + "`.";
        }
        doc += "| " + std::to_string(i + 1) + " | `" + row.name + "` | " + ParameterCell(shape) +
               " | " + FlowName(shape.flow) + " | " + SizeCell(shape) + " | " +
               (row.size != 0 ? std::to_string(row.size) : "-") + " | " + text + " |\n";
    }
    return doc;
}

}  // namespace procref
