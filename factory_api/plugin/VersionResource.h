// The two texts the plug-in manager reads from a file's version resource.
#pragma once

#include <string>

// The internal name: for each language and code page under "\VarFileInfo\Translation",
// in order, "\StringFileInfo\<lang><cp>\InternalName"; the last pair queried wins (a
// pair without the value gives ""). "" without a version resource.
std::string ReadInternalName(const std::string& fullPath);

// "\StringFileInfo\041104b0\FileVersion" (Japanese, Unicode) when present and not
// empty, else "Unknown".
std::string ReadFileVersionText(const std::string& fullPath);
