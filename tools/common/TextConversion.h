// Log text from a narrow code page to UTF-8.
#pragma once

#include <string>

// `text` (length bytes, at most INT_MAX / 2 of them) in `codePage` (0: the ANSI code
// page) as UTF-8. Characters the code page does not define come out as U+FFFD; an
// unknown code page returns the bytes unchanged.
std::string ToUtf8(const char* text, std::size_t length, unsigned codePage);
