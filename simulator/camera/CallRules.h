// Forced outcomes by name and call number: "the 3rd call of X fails with status 7",
// "every call of Y returns 5". Used for the transport functions (faults) and for the
// camera-side procedures of one camera (results, statuses, return data).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "simulator/camera/Bytes.h"

namespace kvtsim {

enum class RuleKind { Result, Status, ReturnData, ExtraBytes };

struct Rule {
    RuleKind kind = RuleKind::Result;
    std::uint64_t call = 0;  // the call number it applies to; 0 = every call
    std::uint32_t value = 0; // result, status or number of extra bytes
    SharedBytes data;        // replacement return data
};

// What applies to one call. A rule for the call's own number wins over an every-call rule.
struct Applied {
    bool hasStatus = false, hasResult = false, hasData = false;
    std::uint32_t status = 0, result = 0, extraBytes = 0;
    SharedBytes data;
};

class CallRules {
public:
    // `nth` counts from now: 1 = the next call. 0 = every call from now on.
    void Add(const std::string& name, RuleKind kind, std::uint64_t nth, std::uint32_t value,
             SharedBytes data = SharedBytes());
    void Remove(const std::string& name, RuleKind kind);
    // Counts one call of `name` and returns what applies to it.
    Applied Next(const std::string& name);
    std::uint64_t Calls(const std::string& name) const;
    void Clear();

private:
    std::map<std::string, std::vector<Rule>> _rules;
    std::map<std::string, std::uint64_t> _calls;
};

}  // namespace kvtsim
