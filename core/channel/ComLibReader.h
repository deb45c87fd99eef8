// The reading end of a channel: wait for the data event, copy the data area under the
// channel mutex, acknowledge the write so the writer's wait ends at once.
//
//     HANDLE id = ComLibOpen(name, size, 0, 0, 0);      // counts this end as an opener
//     WaitForSingleObject(ComLibDataEvent(id), ...);
//     ComLibRead(id, buffer, size, &count);               // resets the data event first
//     ComLibAcknowledge(id);
#pragma once

#include "common/Win32.h"

// The channel's data event (manual reset, set after every write and clear); null when
// the channel is not open. The handle stays the channel's.
HANDLE ComLibDataEvent(HANDLE id);

// Resets the data event, then copies up to `size` bytes of the data area into `out`
// under the channel mutex. `writeCount` (optional) receives the information block's
// write count read under the same lock. Returns the bytes copied, 0 on failure.
unsigned long ComLibRead(HANDLE id, void* out, unsigned long size, unsigned long* writeCount);

// Sets the read event when a write waits for its acknowledgement (writing word 1).
// Returns 1 when an acknowledgement was given, else 0.
int ComLibAcknowledge(HANDLE id);
