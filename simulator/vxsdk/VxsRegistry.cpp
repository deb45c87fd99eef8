#include "VxsRegistry.h"

namespace vxsim {

VxsRef CRegistry::Add(const Entry& entry) {
    std::uintptr_t token = _next;
    _next += 0x10;
    _entries.emplace(token, entry);
    return reinterpret_cast<VxsRef>(token);
}

Entry* CRegistry::FindAny(VxsRef ref) {
    auto it = _entries.find(reinterpret_cast<std::uintptr_t>(ref));
    return it == _entries.end() ? nullptr : &it->second;
}

Entry* CRegistry::Find(VxsRef ref, Kind kind) {
    Entry* e = FindAny(ref);
    return (e != nullptr && e->kind == kind) ? e : nullptr;
}

void CRegistry::Drop(VxsRef ref) {
    auto it = _entries.find(reinterpret_cast<std::uintptr_t>(ref));
    if (it != _entries.end() && --it->second.refs == 0) {
        _entries.erase(it);
    }
}

}  // namespace vxsim
