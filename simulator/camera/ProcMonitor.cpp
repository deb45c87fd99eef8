// Monitor procedures: memory of processor kinds 0, 1 and 2 and function calls by
// number. Reads and writes are served inside and outside a monitor session alike;
// the session state is kept for inspection.
#include "simulator/camera/Procedures.h"

#include "simulator/camera/Status.h"

namespace kvtsim {
namespace monitor {

Outcome Open(Camera& camera, const Args&, unsigned) {
    camera.monitorOpen = true;
    return Result(kResultOk);
}

Outcome Close(Camera& camera, const Args&, unsigned) {
    camera.monitorOpen = false;
    return Result(kResultOk);
}

// cpu kind, address, size -> the bytes; zeros where nothing was written.
Outcome Read(Camera& camera, const Args& args, unsigned) {
    std::uint32_t cpu, address, size;
    if (!args.Int(0, &cpu) || !args.Int(1, &address) || !args.Int(2, &size) ||
        cpu >= kCpuKinds || size > kMaxReadBytes) {
        return Result(kResultRefused);
    }
    auto data = std::make_shared<Bytes>(size);
    if (!camera.memory[cpu].Read(address, data->data(), size)) {
        return Result(kResultRefused);
    }
    return Data(std::move(data));
}

// cpu kind, address, size, block of that size.
Outcome Write(Camera& camera, const Args& args, unsigned) {
    std::uint32_t cpu, address, size;
    const Bytes* block = args.Block(3);
    if (!args.Int(0, &cpu) || !args.Int(1, &address) || !args.Int(2, &size) ||
        cpu >= kCpuKinds || block == nullptr || block->size() != size) {
        return Result(kResultRefused);
    }
    return Result(camera.memory[cpu].Write(address, block->data(), size) ? kResultOk
                                                                          : kResultRefused);
}

// 0, function number. The functions themselves have no modelled effect.
Outcome Call(Camera&, const Args& args, unsigned) {
    std::uint32_t zero, function;
    if (!args.Int(0, &zero) || !args.Int(1, &function)) {
        return Result(kResultRefused);
    }
    return Result(kResultOk);
}

}  // namespace monitor
}  // namespace kvtsim
