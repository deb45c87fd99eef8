// The parameter each registered procedure documents, read from the plug-in's procedure
// list ("<name> | <parameter> | <what it does>", plugins/pellor/ProcedureDescriptions.txt):
// how many bytes it reads or writes through its pointer, and in which direction.
#pragma once

#include <string>
#include <vector>

namespace robust {

struct ProcedureShape {
    std::string name;
    std::string parameter;   // as documented: "none", "u32 out", "text 16 in", ...
    std::size_t size = 0;    // bytes behind the pointer; 0 for "none"
    bool in = false;         // the procedure reads the caller's bytes
    bool out = false;        // the procedure writes them
    bool known = true;       // false when the parameter text is not understood
};

// `boardInfSize`: the "Size" of BoardInf.ini, the documented size of "bytes in".
std::vector<ProcedureShape> ReadProcedureShapes(const std::string& path, std::size_t boardInfSize);

}  // namespace robust
