// The copy routine behind GetEventProcList: every record of one event-procedure table
// is copied, as a new record the caller owns, to the head of its bucket in another.
#pragma once

#include "factory_api/plugin/EventProcRecord.h"

namespace pellor {

// Frame "[FUNC] GetHash"; each copied record's name is logged on a line of its own.
// Records are taken bucket by bucket, each chain from its head. Result 0, or 33 when a
// record cannot be allocated (records copied before it stay in `to`).
unsigned long CopyEventProcTable(const EventProcTable& from, EventProcTable& to) noexcept;

}  // namespace pellor
