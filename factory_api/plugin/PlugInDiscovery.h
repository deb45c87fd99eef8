// Finding, version-checking and loading the plug-ins at library load, and freeing
// them at unload.
#pragma once

// Searches "<library folder>\_Q517_\PlugIn\" for "*.q517" and "*.q517.dll", adds each
// file to the manager and checks its version (51 on a failed check), loads them all,
// then checks the property INI files (53 on a failed check). 0 on success.
unsigned long RegisterPlugInList();

// Frees every loaded plug-in; always 0.
unsigned long DeregisterPlugInList();
