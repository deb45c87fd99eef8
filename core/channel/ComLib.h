// The shared-memory channel library ("ComLIB"): named channels shared between
// processes, each a data area with a mutex, named events and a 28-byte information
// block through which the ends count each other and compare versions.
//
// A channel is identified by the handle of its data mapping (0 means failure). The
// table and its records take no lock: opens and closes come from one thread at a time.
// Progress messages go to standard output (see ComLibOutput.h); warnings go through
// the message seam.
#pragma once

#include "common/Win32.h"

// Opens or creates the channel `name` (at most 63 characters) with a data area of
// `size` bytes. The options are 0 or 1: clear the data area, start the send-buffer
// thread, start the receive-buffer thread. Returns the channel id, or 0.
HANDLE ComLibOpen(const char* name, unsigned long size, unsigned long clearOption,
                  unsigned long sendOption, unsigned long receiveOption);

// Writes one block of exactly the channel's data size and waits up to 3,000 ms for the
// reading end's acknowledgement. 1 when acknowledged, or not acknowledged while another
// end is still attached; 0 when refused (no other end, hold word set, wrong size, null
// data) or when the other end went away.
int ComLibWrite(HANDLE id, const void* data, unsigned long size);

// Stops the channel's buffer threads, optionally clears its data area, closes its
// handles and leaves the record closed. 1, or 0 if the channel is not open.
int ComLibClose(HANDLE id, unsigned long clearOption);

// Closes every open channel without clearing; registered to run at exit.
void __cdecl ComLibCloseAll();

// Console control handler installed by the first open: Ctrl+C and Ctrl+Break are
// handled (the process goes on); closing the console closes all channels and ends the
// process with 0; log-off and shut-down end it with 0 at once.
BOOL WINAPI ComLibCtrlHandler(DWORD ctrlType);

// Queues one block (exactly the data size) for the send-buffer thread of a channel
// opened with the send option and wakes the thread. 1 when queued, else 0.
int ComLibQueueSend(HANDLE id, const void* data, unsigned long size);
