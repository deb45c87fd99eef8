#include "simulator/camera/CallRules.h"

#include <algorithm>

namespace kvtsim {

void CallRules::Add(const std::string& name, RuleKind kind, std::uint64_t nth,
                    std::uint32_t value, SharedBytes data) {
    Rule r;
    r.kind = kind;
    r.call = nth == 0 ? 0 : Calls(name) + nth;
    r.value = value;
    r.data = std::move(data);
    std::vector<Rule>& list = _rules[name];
    // A later rule for the same kind and call replaces the earlier one.
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const Rule& o) { return o.kind == kind && o.call == r.call; }),
               list.end());
    list.push_back(std::move(r));
}

void CallRules::Remove(const std::string& name, RuleKind kind) {
    auto it = _rules.find(name);
    if (it == _rules.end()) {
        return;
    }
    auto& list = it->second;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const Rule& o) { return o.kind == kind; }),
               list.end());
    if (list.empty()) {
        _rules.erase(it);
    }
}

Applied CallRules::Next(const std::string& name) {
    std::uint64_t call = ++_calls[name];
    Applied a;
    auto it = _rules.find(name);
    if (it == _rules.end()) {
        return a;
    }
    // Every-call rules first, then the rules of this very call override them.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Rule& r : it->second) {
            if ((pass == 0) != (r.call == 0) || (pass == 1 && r.call != call)) {
                continue;
            }
            switch (r.kind) {
                case RuleKind::Status: a.hasStatus = true; a.status = r.value; break;
                case RuleKind::Result: a.hasResult = true; a.result = r.value; break;
                case RuleKind::ReturnData: a.hasData = true; a.data = r.data; break;
                case RuleKind::ExtraBytes: a.extraBytes = r.value; break;
            }
        }
    }
    // Rules of calls that have passed are spent.
    auto& list = it->second;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const Rule& r) { return r.call != 0 && r.call <= call; }),
               list.end());
    if (list.empty()) {
        _rules.erase(it);
    }
    return a;
}

std::uint64_t CallRules::Calls(const std::string& name) const {
    auto it = _calls.find(name);
    return it == _calls.end() ? 0 : it->second;
}

void CallRules::Clear() {
    _rules.clear();
    _calls.clear();
}

}  // namespace kvtsim
