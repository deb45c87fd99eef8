// Reads memory that a caller or a misbehaving target library handed over and that may
// not be readable: the recorder must never fault where the bare transport would not.
// Each range is checked against the process's pages (VirtualQuery: committed, with a
// readable protection, no guard page) before it is copied.
#pragma once

#include <cstddef>
#include <string>

namespace kvtrecorder {

// Whether all `size` bytes at `address` are readable now.
bool Readable(const void* address, std::size_t size);
// The `size` bytes at `address`; false (and nothing) when any of them is unreadable.
bool SafeRead(const void* address, std::size_t size, std::string* bytes);
// A zero-terminated name of at most `limit` characters (fewer when its end or an
// unreadable page comes first); false when not even its first byte is readable.
bool SafeReadName(const char* name, std::size_t limit, std::string* text);

}  // namespace kvtrecorder
