// The two version checks of the plug-in manager against the version list.
#pragma once

#include <string>

// Checks a plug-in file's FileVersion (or "Unknown") against its registered version.
// 0 when registered with that version; 1 when the list is missing or unreadable, the
// file name is not registered ("[ERR!] DLL is not exist.") or the versions differ
// ("[ERR!] DLL Version mismatch."); 5 when the version block cannot be allocated.
// No entry or exit lines; the failure line is committed.
unsigned long _CheckDllVersion(const std::string& fullPath, const std::string& fileName);

// Checks the property INI files "_Q517_/Property/*.ini" (relative to the current
// directory), in search order, against the INI entries of the version list, read
// forward in step. An entry names its INI file by the file's full path or by its file
// name; an entry that names another file is passed over with its INI file. A
// registered INI file whose [Version] FileVersion differs fails
// ("[ERR!] INI Version mismatch.", 1). INI files left when the list has no further
// INI entry are not registered: each gets the line "[CMNT] Not Registered - <path>" and
// the check passes, as for any unregistered file. Exit line "[FUNC] _CheckIniVersion - "
// and the result on every path.
unsigned long _CheckIniVersion();

// The four lines of a version mismatch, committed: "[ERR!] ", "[ERR!] <item>", then
// "<foundLabel><found>" and "<registeredLabel><registered>".
void WriteVersionMismatch(const std::string& item, const char* foundLabel,
                          const std::string& found, const char* registeredLabel,
                          const std::string& registered);

// Writes the Shift-JIS message of a failed INI search to standard error.
void WriteIniSearchFailureMessage();
