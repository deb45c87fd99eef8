// The name index of the property catalogue: 313 buckets with the registry's hash,
// built by RegisterPropertyData (DataProcedures.h) at every registration and never
// freed. A second registration adds a second node per record; lookups find the newer
// one first (same values).
#pragma once

#include <cstdint>

namespace pellor {

// Looks `name` up (byte for byte, newest node first); false when it is not indexed
// (always false before the first registration).
bool FindPropertyData(const char* name, std::uint32_t* id, std::uint32_t* size) noexcept;

}  // namespace pellor
