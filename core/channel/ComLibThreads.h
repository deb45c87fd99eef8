// The optional buffer threads of a channel (send and receive). Each waits for its stop
// event or its buffer event; the send thread copies queued blocks into the data area
// under the channel mutex, so whoever stops it must not hold that mutex meanwhile.
#pragma once

#include "core/channel/ComLibRecord.h"

namespace comlib {

// Initialise the queue, create the buffer and stop events and start the thread at the
// highest normal priority. False (and a message) on failure; StopBufferThreads undoes
// a partial start.
bool StartSendThread(ChannelRecord& record) noexcept;
bool StartReceiveThread(ChannelRecord& record) noexcept;

// Stops both threads (each: stop event, wait until it has ended), closes their handles
// and events, drains the queues and deletes their critical sections. Must be called
// without holding the channel mutex.
void StopBufferThreads(ChannelRecord& record) noexcept;

}  // namespace comlib
