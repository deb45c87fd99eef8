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

// Runs `body` under the lock once the SDK is started: the guard of every call.
template <class Body>
VxsStatus WhenStarted(Body body) {
    SdkState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    return st.started ? body(st) : VXS_ERR_NOT_STARTED;
}

// As WhenStarted, with the live entry of `ref`, which must be of `kind`.
template <class Body>
VxsStatus WithEntry(VxsRef ref, vxsim::Kind kind, Body body) {
    return WhenStarted([&](SdkState& st) {
        vxsim::Entry* e = st.registry.Find(ref, kind);
        return e == nullptr ? VxsStatus{VXS_ERR_BAD_REFERENCE} : body(st, *e);
    });
}

// As WithEntry for a camera with an open session, with the text of a known property.
template <class Body>
VxsStatus WithProperty(VxsRef camera, std::uint32_t property, Body body) {
    return WithEntry(camera, vxsim::Kind::Camera, [&](SdkState& st, vxsim::Entry& cam) {
        if (!cam.sessionOpen) {
            return VxsStatus{VXS_ERR_NO_SESSION};
        }
        const std::string* text = PropertyText(st.scenario, property);
        return text == nullptr ? VxsStatus{VXS_ERR_UNKNOWN_PROPERTY} : body(*text);
    });
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
    return WhenStarted([](SdkState& st) {
        st.registry.Clear();
        st.started = false;
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsDropRef(VxsRef ref) {
    return WhenStarted([&](SdkState& st) {
        if (st.registry.FindAny(ref) == nullptr) {
            return VxsStatus{VXS_ERR_BAD_REFERENCE};
        }
        st.registry.Drop(ref);
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsListCameras(VxsRef* list) {
    if (list == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    *list = nullptr;
    return WhenStarted([&](SdkState& st) {
        vxsim::Entry entry{vxsim::Kind::CameraList};
        entry.cameraCount = st.scenario.cameraPresent ? 1 : 0;
        *list = st.registry.Add(entry);
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsItemCount(VxsRef list, std::uint32_t* count) {
    if (count == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    return WithEntry(list, vxsim::Kind::CameraList, [&](SdkState&, vxsim::Entry& e) {
        *count = e.cameraCount;
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsItemAt(VxsRef list, std::int32_t index, VxsRef* item) {
    if (item == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    *item = nullptr;
    return WithEntry(list, vxsim::Kind::CameraList, [&](SdkState& st, vxsim::Entry& e) {
        if (index < 0 || static_cast<std::uint32_t>(index) >= e.cameraCount) {
            return VxsStatus{VXS_ERR_OUT_OF_RANGE};
        }
        *item = st.registry.Add(vxsim::Entry{vxsim::Kind::Camera});
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsSessionOpen(VxsRef camera) {
    return WithEntry(camera, vxsim::Kind::Camera, [](SdkState& st, vxsim::Entry& cam) {
        if (st.scenario.failOpenSession) {
            return VxsStatus{VXS_ERR_SESSION_FAILED};
        }
        if (!cam.sessionOpen) {
            cam.sessionOpen = true;
            ++cam.refs;  // an open session keeps its camera alive
        }
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsSessionClose(VxsRef camera) {
    return WithEntry(camera, vxsim::Kind::Camera, [&](SdkState& st, vxsim::Entry& cam) {
        if (!cam.sessionOpen) {
            return VxsStatus{VXS_ERR_NO_SESSION};
        }
        cam.sessionOpen = false;
        st.registry.Drop(camera);  // may remove `cam`: not used after this
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsValueSize(VxsRef camera, std::uint32_t property,
                                           std::int32_t param, std::uint32_t* dataType,
                                           std::uint32_t* size) {
    if (dataType == nullptr || size == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    return WithProperty(camera, property, [&](const std::string& text) {
        *dataType = VXS_TYPE_TEXT;
        *size = static_cast<std::uint32_t>(text.size() + 1);  // with its terminating zero
        return VxsStatus{VXS_OK};
    });
}

VXSDK_API VxsStatus __stdcall VxsValueRead(VxsRef camera, std::uint32_t property,
                                           std::int32_t param, std::uint32_t size,
                                           void* buffer) {
    if (buffer == nullptr) {
        return VXS_ERR_BAD_POINTER;
    }
    return WithProperty(camera, property, [&](const std::string& text) {
        std::size_t whole = text.size() + 1;
        std::memcpy(buffer, text.c_str(), size < whole ? size : whole);
        return VxsStatus{VXS_OK};
    });
}
