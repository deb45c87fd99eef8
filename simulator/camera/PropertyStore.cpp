#include "simulator/camera/PropertyStore.h"

namespace kvtsim {

SharedBytes PropertyStore::Find(const Map& m, std::uint32_t id) {
    auto it = m.find(id);
    return it == m.end() ? SharedBytes() : it->second;
}

bool PropertyStore::Save(std::uint32_t id) {
    SharedBytes value = Current(id);
    if (!value) {
        return false;
    }
    _saved[id] = std::move(value);
    return true;
}

bool PropertyStore::Load(std::uint32_t id) {
    SharedBytes value = Saved(id);
    if (!value) {
        return false;
    }
    _current[id] = std::move(value);
    return true;
}

}  // namespace kvtsim
