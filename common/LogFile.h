// The log file "KvtDll.log" in the current directory, and the staging buffer of the
// library (one per library, allocated at load, freed at unload).
#pragma once

#include <cstddef>

#include "common/LogStream.h"

namespace kvtlog {

// Log start-up and shut-down of a library: allocate / free the staging buffer, and
// join / leave the fast log's batch when it is switched on (LogBatch.h).
// While no staging buffer exists, committed text is discarded.
void StartLogStaging();
void StopLogStaging();
bool HasLogStaging();

// Stages the stream's text, empties the stream and appends the staged text to the
// log file. Logging never fails: a file that cannot be opened loses the text.
void CommitLog(LogStream& log);

// Appends the staging buffer's text to "KvtDll.log" (with the fast log: to the batch).
void WriteLogFile();

// The file's text mode: copies `size` bytes of text to `out` with a CR before every
// LF; `out` has room for twice `size`. Returns the bytes written.
std::size_t ToFileLineEnds(const char* text, std::size_t size, char* out);
// Opens "KvtDll.log" in the current directory (created when missing, created anew when
// it cannot be opened for appending), appends `size` bytes at its end under the append
// lock and closes it. False when it cannot be opened; the bytes are then lost.
bool AppendToLogFile(const char* bytes, std::size_t size);

// Number of bytes staged since the file was last written successfully.
unsigned long StagedByteCount();

}  // namespace kvtlog
