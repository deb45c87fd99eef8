// The log file "KvtDll.log" in the current directory, and the staging buffer of the
// library (one per library, allocated at load, freed at unload).
#pragma once

#include "common/LogStream.h"

namespace kvtlog {

// Log start-up and shut-down of a library: allocate / free the staging buffer.
// While no staging buffer exists, committed text is discarded.
void StartLogStaging();
void StopLogStaging();
bool HasLogStaging();

// Stages the stream's text, empties the stream and appends the staged text to the
// log file. Logging never fails: a file that cannot be opened loses the text.
void CommitLog(LogStream& log);

// Appends the staging buffer's text to "KvtDll.log".
void WriteLogFile();

// Number of bytes staged since the file was last written successfully.
unsigned long StagedByteCount();

}  // namespace kvtlog
