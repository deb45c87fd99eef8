// Reads of a property into a local whose bytes the procedure then uses.
//
// A shorter answer than asked for would leave part of the local unread (zero), and the
// procedure would judge, or write back, bytes the camera never sent. Such a read fails
// with "[VALU] ReturnDataSize" (35); a longer one is refused by CProperty::Get itself.
#pragma once

#include <cstdint>

#include "common/Exception.h"
#include "core/camera/Property.h"

namespace pellor {

inline void ReadExactly(CProperty& property, std::uint32_t id, std::uint32_t size,
                        void* local) {
    unsigned count = size;
    property.Get(id, count, local);
    if (count != size) {
        kvt::Fail("[VALU] ReturnDataSize", 35);
    }
}

}  // namespace pellor
