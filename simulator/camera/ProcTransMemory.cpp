// Transparent memory: a name registered with (address, size) exposes that range of
// processor kind 0's memory as the memory-data block of the name; its position is the
// address. Attach replaces a registration of the same name, Add refuses one.
#include "simulator/camera/Procedures.h"

#include "simulator/camera/Status.h"

namespace kvtsim {
namespace transmem {
namespace {
constexpr std::size_t kMaxBlocks = 32;
}

// name, address, size.
Outcome Attach(Camera& camera, const Args& args, unsigned add) {
    std::string name;
    TransBlock block;
    if (!args.Text(0, &name) || name.empty() || !args.Int(1, &block.address) ||
        !args.Int(2, &block.size) || block.size > kMaxReadBytes ||
        static_cast<std::uint64_t>(block.address) + block.size > 0x100000000ull) {
        return Result(kResultRefused);
    }
    bool exists = camera.transMemory.count(name) != 0;
    if ((add && exists) || (!exists && camera.transMemory.size() >= kMaxBlocks)) {
        return Result(kResultRefused);
    }
    camera.transMemory[name] = block;
    return Result(kResultOk);
}

Outcome Remove(Camera& camera, const Args& args, unsigned) {
    std::string name;
    if (!args.Text(0, &name) || camera.transMemory.erase(name) == 0) {
        return Result(kResultRefused);
    }
    return Result(kResultOk);
}

// name -> position, 0 when the name is not registered.
Outcome Position(Camera& camera, const Args& args, unsigned) {
    std::string name;
    if (!args.Text(0, &name)) {
        return Result(0);
    }
    auto it = camera.transMemory.find(name);
    return Result(it == camera.transMemory.end() ? 0 : it->second.address);
}

SharedBytes Snapshot(const Camera& camera, const std::string& name) {
    auto it = camera.transMemory.find(name);
    if (it == camera.transMemory.end()) {
        return SharedBytes();
    }
    auto data = std::make_shared<Bytes>(it->second.size);
    camera.memory[0].Read(it->second.address, data->data(), data->size());
    return data;
}

}  // namespace transmem
}  // namespace kvtsim
