// Remote release as the camera does it: the release shoots the images its quality
// setting asks for and holds the first as return data; the plus-image procedure holds
// the next; finishing ends the release. The quality code is byte 2 of the packed
// word property: 1 = JPEG, 6 = raw, 7 = raw then JPEG; other codes are refused.
#include "simulator/camera/Procedures.h"

#include "simulator/camera/Status.h"

namespace kvtsim {
namespace release {
namespace {
bool FormatsOf(const Camera& camera, std::vector<ImageFormat>* formats) {
    SharedBytes packed = camera.Props(Space::Public).Current(kPropPackedWord);
    unsigned quality = packed && packed->size() > 2 ? (*packed)[2] : 0;
    switch (quality) {
        case 1: *formats = {ImageFormat::Jpeg}; return true;
        case 6: *formats = {ImageFormat::Raw}; return true;
        case 7: *formats = {ImageFormat::Raw, ImageFormat::Jpeg}; return true;
        default: return false;
    }
}
}  // namespace

Outcome Release(Camera& camera, const Args&, unsigned) {
    std::vector<ImageFormat> formats;
    if (!FormatsOf(camera, &formats)) {
        return Result(kResultRefused);
    }
    ReleaseState& r = camera.release;
    ++r.shots;
    r.images.clear();
    for (ImageFormat f : formats) {
        const ImageSource& source = f == ImageFormat::Jpeg ? camera.jpeg : camera.raw;
        r.images.push_back(MakeImage(source, f, camera.index, r.shots));
    }
    r.open = true;
    r.delivered = 1;
    return Data(r.images.front());
}

Outcome PlusImage(Camera& camera, const Args&, unsigned) {
    ReleaseState& r = camera.release;
    if (!r.open || r.delivered >= r.images.size()) {
        return Result(kResultRefused);
    }
    return Data(r.images[r.delivered++]);
}

// Also accepted without an open release.
Outcome Finish(Camera& camera, const Args&, unsigned) {
    camera.release.open = false;
    return Result(kResultOk);
}

}  // namespace release
}  // namespace kvtsim
