// Load and unload of the factory API library, and the Initialize / Terminate steps
// they run. DllMain (LibraryMain.cpp) calls OnProcessAttach and OnProcessDetach.
#pragma once

#include "common/Win32.h"

namespace kvtq517 {

// Restarts the global timer, starts the log with the "KvtQ517.dll Initialize" banner,
// publishes the module handle, the model identifier and a zeroed body number, and runs
// Initialize; its result (or a block that could not be created, 5) is kept in
// m_InitializingResult. Never fails the load.
void OnProcessAttach(HINSTANCE module) noexcept;

// Releases the blocks and the monitor object, runs Terminate, writes the
// "KvtQ517.dll Terminate" banner and frees the log's staging buffer.
void OnProcessDetach() noexcept;

// CheckConfiguration, RegisterPlugInList, RegisterEventProcList, then the initialize
// and terminate function lists. 0 or the failure of the plug-in steps.
unsigned long Initialize();
// Empties the registry, frees the plug-ins, empties the function lists.
unsigned long Terminate();
// Checks the published model identifier and module handle and publishes the
// configuration word. Its failures end in its own frame.
unsigned long CheckConfiguration();

}  // namespace kvtq517
