#include "simulator/camera/PropertyStore.h"

namespace kvtsim {

SharedBytes PropertyStore::Find(const Map& m, std::uint32_t id) {
    auto it = m.find(id);
    return it == m.end() ? SharedBytes() : it->second;
}

bool PropertyStore::Copy(const Map& from, Map& to, std::uint32_t id) {
    SharedBytes value = Find(from, id);
    if (!value) {
        return false;
    }
    to[id] = std::move(value);
    return true;
}

}  // namespace kvtsim
