// One property space of a camera: the current values and the non-volatile store.
// A value keeps the size it was written with.
#pragma once

#include <cstdint>
#include <map>

#include "simulator/camera/Bytes.h"

namespace kvtsim {

enum class Space : unsigned { Public = 0, Private = 1, Adapter = 2 };
constexpr unsigned kSpaceCount = 3;

class PropertyStore {
public:
    SharedBytes Current(std::uint32_t id) const { return Find(_current, id); }
    SharedBytes Saved(std::uint32_t id) const { return Find(_saved, id); }
    void SetCurrent(std::uint32_t id, SharedBytes value) { _current[id] = std::move(value); }
    void SetSaved(std::uint32_t id, SharedBytes value) { _saved[id] = std::move(value); }
    // Save: current -> store; Load: store -> current. False when there is nothing to copy.
    bool Save(std::uint32_t id) { return Copy(_current, _saved, id); }
    bool Load(std::uint32_t id) { return Copy(_saved, _current, id); }

private:
    using Map = std::map<std::uint32_t, SharedBytes>;
    static SharedBytes Find(const Map& m, std::uint32_t id);
    static bool Copy(const Map& from, Map& to, std::uint32_t id);
    Map _current;
    Map _saved;
};

}  // namespace kvtsim
