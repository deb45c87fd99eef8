// Property procedures. A set stores the bytes with their size; a get returns the
// stored bytes with their own size whatever size was asked for, and an unknown
// property reads as zeros of the asked size (refused in strict mode). Save and load
// copy between the current values and the non-volatile store of the same space.
#include "simulator/camera/Procedures.h"

#include "simulator/camera/Status.h"

namespace kvtsim {
namespace property {
namespace {
PropertyStore& StoreOf(Camera& camera, unsigned tag) {
    return camera.Props(static_cast<Space>(tag));
}
}  // namespace

// identifier, size, block of that size.
Outcome Set(Camera& camera, const Args& args, unsigned tag) {
    std::uint32_t id, size;
    const Bytes* block = args.Block(2);
    if (!args.Int(0, &id) || !args.Int(1, &size) || block == nullptr || block->size() != size) {
        return Result(kResultRefused);
    }
    StoreOf(camera, tag).SetCurrent(id, Share(*block));
    return Result(kResultOk);
}

// identifier, size -> the stored bytes.
Outcome Get(Camera& camera, const Args& args, unsigned tag) {
    std::uint32_t id, size;
    if (!args.Int(0, &id) || !args.Int(1, &size)) {
        return Result(kResultRefused);
    }
    SharedBytes value = StoreOf(camera, tag).Current(id);
    if (value) {
        return Data(value);
    }
    if (camera.strictProperties || size > kMaxReadBytes) {
        return Result(kResultRefused);
    }
    return Data(Share(Bytes(size)));
}

namespace {
// Saving or loading a property the camera does not hold succeeds without effect,
// unless the camera is strict.
Outcome CopyStored(Camera& camera, const Args& args, unsigned tag, bool save) {
    std::uint32_t id;
    if (!args.Int(0, &id)) {
        return Result(kResultRefused);
    }
    PropertyStore& store = StoreOf(camera, tag);
    bool done = save ? store.Save(id) : store.Load(id);
    return Result(done || !camera.strictProperties ? kResultOk : kResultRefused);
}
}  // namespace

Outcome Save(Camera& camera, const Args& args, unsigned tag) {
    return CopyStored(camera, args, tag, true);
}

Outcome Load(Camera& camera, const Args& args, unsigned tag) {
    return CopyStored(camera, args, tag, false);
}

Outcome SetupDigital(Camera& camera, const Args&, unsigned) {
    camera.digitalSetup = true;
    return Result(kResultOk);
}

// identifier -> the size of its current public value, or -1.
Outcome DataSize(Camera& camera, const Args& args, unsigned) {
    std::uint32_t id;
    if (!args.Int(0, &id)) {
        return Result(kResultNone);
    }
    SharedBytes value = camera.Props(Space::Public).Current(id);
    return Result(value ? static_cast<std::uint32_t>(value->size()) : kResultNone);
}

// identifier, item name -> the item's offset from the scenario, or -1.
Outcome DigitalOffset(Camera& camera, const Args& args, unsigned) {
    std::uint32_t id;
    std::string name;
    if (!args.Int(0, &id) || !args.Text(1, &name)) {
        return Result(kResultNone);
    }
    auto it = camera.digitalOffsets.find({id, name});
    return Result(it == camera.digitalOffsets.end() ? kResultNone : it->second);
}

// count: starts a new list of that many identifiers.
Outcome SetSaveListNum(Camera& camera, const Args& args, unsigned) {
    std::uint32_t count;
    if (!args.Int(0, &count)) {
        return Result(kResultRefused);
    }
    camera.saveList.announced = true;
    camera.saveList.count = count;
    camera.saveList.ids.clear();
    return Result(kResultOk);
}

// count, then that many identifiers (at most 9 a call, never beyond the announced count).
Outcome RegistSaveList(Camera& camera, const Args& args, unsigned) {
    SaveListState& list = camera.saveList;
    std::uint32_t count;
    if (!list.announced || !args.Int(0, &count) || count > kSaveListBatch ||
        args.Count() != count + 1u || list.ids.size() + count > list.count) {
        return Result(kResultRefused);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id;
        if (!args.Int(i + 1, &id)) {
            return Result(kResultRefused);
        }
        list.ids.push_back(id);
    }
    return Result(kResultOk);
}

// 0: saves every registered public property once the list is complete; ends the list.
Outcome SaveList(Camera& camera, const Args&, unsigned) {
    SaveListState& list = camera.saveList;
    bool complete = list.announced && list.ids.size() == list.count;
    bool allSaved = true;
    if (complete) {
        for (std::uint32_t id : list.ids) {
            allSaved = camera.Props(Space::Public).Save(id) && allSaved;
        }
    }
    list = SaveListState();
    return Result(complete && (allSaved || !camera.strictProperties) ? kResultOk
                                                                     : kResultRefused);
}

}  // namespace property
}  // namespace kvtsim
