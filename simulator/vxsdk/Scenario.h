// The camera the simulated SDK reports, read from a scenario INI file at start-up.
//
// File: the path in the environment variable VXSDK_SCENARIO if it is set and not
// empty, else "VXSDK.ini" in the folder of VXSDK.dll. A missing file or key gives
// the built-in default. Format:
//
//   [Camera]
//   Present=1                  ; 0: the camera list is empty
//   ProductName=Tavol OXR A05
//   BodyNumber=2041007315
//   Firmware=1.0.2
//   Lens=TVL 24-70mm f/2.8
//   ; <value key>Length=N stretches that value to exactly N bytes by repeating its
//   ; text (N up to 4096), to try over-long values:
//   LensLength=300
//   [Fail]
//   StartUp=0                  ; 1: the start-up call fails
//   OpenSession=0              ; 1: opening the camera's session fails
//
// Values are taken as bytes of the process's code page, as the INI reader gives them.
#pragma once

#include <string>

namespace vxsim {

struct Scenario {
    bool cameraPresent = true;
    bool failStartUp = false;
    bool failOpenSession = false;
    std::string productName = "Tavol OXR A05";
    std::string bodyNumber = "2041007315";
    std::string firmware = "1.0.2";
    std::string lens = "TVL 24-70mm f/2.8";
};

// Reads the scenario file; never fails (defaults fill what is missing).
Scenario LoadScenario();

// The scenario file path as described above ("" if no path can be formed).
std::string ScenarioPath();

}  // namespace vxsim
