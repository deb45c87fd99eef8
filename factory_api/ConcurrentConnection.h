// The two-camera step of KVT_OpenDevice: with two connected cameras, exactly one must
// report a tool mode, and that camera becomes slot 0.
#pragma once

namespace kvtq517 {

// One camera: 0 (logged as "[ERR!] - [VALU] Need Not Configure"). None or more than
// two: "[VALU] CameraCount" (35). Two with both or neither in tool mode:
// "[VALU] ToolMode" (35). Ends with slot 0 selected.
unsigned long ConfigureConcurrentConnection();

}  // namespace kvtq517
