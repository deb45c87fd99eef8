// The description file kept beside the plug-in's registration table: one line per
// registered name, "<name> | <parameter> | <what it does>"; blank lines and lines
// starting with '#' are comments.
//
// <parameter> is "none" or a shape followed by its direction (in, out, in/out):
// u32, i32, double, two u32, text N, bytes N, bytes (size given elsewhere), or a record
// of the SDK's kvt_records.h.
#pragma once

#include <string>
#include <vector>

namespace procref {

enum class Flow { None, In, Out, InOut };

struct ParameterShape {
    std::string type;        // "u32", "text 16", "BODYID_T", ... ("" for none)
    Flow flow = Flow::None;
    unsigned long size = 0;  // bytes; 0 for none or a size given elsewhere
};

// False when the text is not a shape of the list above.
bool ParseShape(const std::string& text, ParameterShape& shape);

struct Description {
    int line = 0;
    std::string name;
    std::string parameterText;
    ParameterShape parameter;
    std::string text;
};

// The lines of a description file. A malformed line (not three fields, unknown shape,
// empty name or text) is reported in `problems` as "<file>:<line>: ..." and skipped.
std::vector<Description> ParseDescriptions(const std::string& content, const std::string& fileName,
                                           std::vector<std::string>& problems);

const char* FlowName(Flow flow);

}  // namespace procref
