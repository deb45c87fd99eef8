// Public interface of the camera SDK "VXSDK.dll", as far as the console tool uses it.
//
// The DLL exports these calls by ordinal only (no names); the import library built
// from VXSDK.def binds the declarations below to their ordinals, so any DLL with the
// same ordinals serves. Every call is __stdcall and returns a status, 0 = success.
// References (camera list, camera) are opaque: the SDK never dereferences a
// reference it did not hand out, an unknown one gives VXS_ERR_BAD_REFERENCE.
#pragma once

#include <cstdint>

#ifdef VXSDK_BUILDING
#define VXSDK_API extern "C"
#else
#define VXSDK_API extern "C" __declspec(dllimport)
#endif

typedef struct VxsObject* VxsRef;
typedef std::uint32_t VxsStatus;

enum : VxsStatus {
    VXS_OK = 0,
    VXS_ERR_NOT_STARTED = 0x0101,     // a call before the start-up (or after the end)
    VXS_ERR_STARTUP_FAILED = 0x0102,  // the start-up itself failed
    VXS_ERR_BAD_POINTER = 0x0201,     // a required output or buffer pointer is null
    VXS_ERR_BAD_REFERENCE = 0x0202,   // not a live reference of the expected kind
    VXS_ERR_OUT_OF_RANGE = 0x0203,    // child index beyond the count
    VXS_ERR_UNKNOWN_PROPERTY = 0x0301,
    VXS_ERR_NO_SESSION = 0x0302,      // property access or close without an open session
    VXS_ERR_SESSION_FAILED = 0x0303,  // the camera refused to open a session
};

// Property identifiers.
enum : std::uint32_t {
    VXS_PROP_PRODUCT_NAME = 2,
    VXS_PROP_FIRMWARE = 7,
    VXS_PROP_BODY_NUMBER = 21,
    VXS_PROP_LENS = 1037,
};

// Data type reported by VxsValueSize: all properties above are zero-terminated texts,
// and their reported size counts the terminating zero.
enum : std::uint32_t { VXS_TYPE_TEXT = 1 };

VXSDK_API VxsStatus __stdcall VxsBegin(void);                                  // ordinal 1
VXSDK_API VxsStatus __stdcall VxsFinish(void);                                 // ordinal 2
VXSDK_API VxsStatus __stdcall VxsDropRef(VxsRef ref);                          // ordinal 4
VXSDK_API VxsStatus __stdcall VxsItemCount(VxsRef list, std::uint32_t* count); // ordinal 5
VXSDK_API VxsStatus __stdcall VxsItemAt(VxsRef list, std::int32_t index,
                                        VxsRef* item);                         // ordinal 6
VXSDK_API VxsStatus __stdcall VxsValueSize(VxsRef camera, std::uint32_t property,
                                           std::int32_t param, std::uint32_t* dataType,
                                           std::uint32_t* size);               // ordinal 8
// Writes at most `size` bytes of the value; a smaller size gives the value's first
// `size` bytes (without its terminating zero).
VXSDK_API VxsStatus __stdcall VxsValueRead(VxsRef camera, std::uint32_t property,
                                           std::int32_t param, std::uint32_t size,
                                           void* buffer);                      // ordinal 9
VXSDK_API VxsStatus __stdcall VxsListCameras(VxsRef* list);                    // ordinal 12
VXSDK_API VxsStatus __stdcall VxsSessionOpen(VxsRef camera);                   // ordinal 14
VXSDK_API VxsStatus __stdcall VxsSessionClose(VxsRef camera);                  // ordinal 15
