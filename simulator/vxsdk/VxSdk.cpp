// The ten calls of the simulated SDK. One camera at most (from the scenario); the
// state is process-wide and guarded by one lock, so concurrent callers are safe.
#include "VxSdk.h"

#include <cstring>
#include <mutex>

#include "Scenario.h"
#include "VxsRegistry.h"

namespace {

struct SdkState {
    std::mutex lock;
    bool started = false;
    vxsim::Scenario scenario;
    vxsim::CRegistry registry;
};

SdkState& State() {
    static SdkState state;
    return state;
}

// The value of a property, or null for an unknown property.
const std::string* PropertyText(const vxsim::Scenario& s, std::uint32_t property) {
    switch (property) {
        case VXS_PROP_PRODUCT_NAME: return &s.productName;
        case VXS_PROP_BODY_NUMBER: return &s.bodyNumber;
        case VXS_PROP_FIRMWARE: return &s.firmware;
        case VXS_PROP_LENS: return &s.lens;
        default: return nullptr;
    }
}

// Common checks of the property calls: started, a camera with an open session, a
// known property.
VxsStatus FindProperty(SdkState& st, VxsRef camera, std::uint32_t property,
                       const std::string** text) {
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    vxsim::Entry* cam = st.registry.Find(camera, vxsim::Kind::Camera);
    if (cam == nullptr) {
        return VXS_ERR_BAD_REFERENCE;
    }
    if (!cam->sessionOpen) {
        return VXS_ERR_NO_SESSION;
    }
    *text = PropertyText(st.scenario, property);
    return *text == nullptr ? VXS_ERR_UNKNOWN_PROPERTY : VXS_OK;
}

}  // namespace

VXSDK_API VxsStatus __stdcall VxsBegin(void) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (st.started) {
        return VXS_OK;
    }
    st.scenario = vxsim::LoadScenario();
    if (st.scenario.failStartUp) {
        return VXS_ERR_STARTUP_FAILED;
    }
    st.started = true;
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsFinish(void) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    st.registry.Clear();
    st.started = false;
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsDropRef(VxsRef ref) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    if (st.registry.FindAny(ref) == nullptr) {
        return VXS_ERR_BAD_REFERENCE;
    }
    st.registry.Drop(ref);
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsListCameras(VxsRef* list) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (list == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    *list = nullptr;
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    vxsim::Entry entry{vxsim::Kind::CameraList};
    entry.cameraCount = st.scenario.cameraPresent ? 1 : 0;
    *list = st.registry.Add(entry);
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsItemCount(VxsRef list, std::uint32_t* count) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (count == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    vxsim::Entry* e = st.registry.Find(list, vxsim::Kind::CameraList);
    if (e == nullptr) {
        return VXS_ERR_BAD_REFERENCE;
    }
    *count = e->cameraCount;
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsItemAt(VxsRef list, std::int32_t index, VxsRef* item) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (item == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    *item = nullptr;
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    vxsim::Entry* e = st.registry.Find(list, vxsim::Kind::CameraList);
    if (e == nullptr) {
        return VXS_ERR_BAD_REFERENCE;
    }
    if (index < 0 || static_cast<std::uint32_t>(index) >= e->cameraCount) {
        return VXS_ERR_OUT_OF_RANGE;
    }
    *item = st.registry.Add(vxsim::Entry{vxsim::Kind::Camera});
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsSessionOpen(VxsRef camera) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    vxsim::Entry* cam = st.registry.Find(camera, vxsim::Kind::Camera);
    if (cam == nullptr) {
        return VXS_ERR_BAD_REFERENCE;
    }
    if (st.scenario.failOpenSession) {
        return VXS_ERR_SESSION_FAILED;
    }
    if (!cam->sessionOpen) {
        cam->sessionOpen = true;
        ++cam->refs;  // an open session keeps its camera alive
    }
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsSessionClose(VxsRef camera) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (!st.started) {
        return VXS_ERR_NOT_STARTED;
    }
    vxsim::Entry* cam = st.registry.Find(camera, vxsim::Kind::Camera);
    if (cam == nullptr) {
        return VXS_ERR_BAD_REFERENCE;
    }
    if (!cam->sessionOpen) {
        return VXS_ERR_NO_SESSION;
    }
    cam->sessionOpen = false;
    st.registry.Drop(camera);
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsValueSize(VxsRef camera, std::uint32_t property,
                                           std::int32_t param, std::uint32_t* dataType,
                                           std::uint32_t* size) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (dataType == nullptr || size == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    const std::string* text = nullptr;
    VxsStatus status = FindProperty(st, camera, property, &text);
    if (status != VXS_OK) {
        return status;
    }
    *dataType = VXS_TYPE_TEXT;
    *size = static_cast<std::uint32_t>(text->size() + 1);
    return VXS_OK;
}

VXSDK_API VxsStatus __stdcall VxsValueRead(VxsRef camera, std::uint32_t property,
                                           std::int32_t param, std::uint32_t size,
                                           void* buffer) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    if (buffer == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    const std::string* text = nullptr;
    VxsStatus status = FindProperty(st, camera, property, &text);
    if (status != VXS_OK) {
        return status;
    }
    std::size_t whole = text->size() + 1;  // with its terminating zero
    std::memcpy(buffer, text->c_str(), size < whole ? size : whole);
    return VXS_OK;
}
