// Checks of the caller's zero-terminated texts, made before anything is sent or
// written. A text is read no further than one character past its limit.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "common/Exception.h"

namespace kvtq517 {

// The longest path a path block or a property file path takes: the 261-byte blocks
// hold 260 characters and the zero.
constexpr std::size_t kMaxPathTextLength = 260;
// The longest adjustment property name: szName holds 63 characters and the zero.
constexpr std::size_t kMaxPropertyNameLength = 63;

// Null: "[VALU] <name>" (3); longer than `limit`: "[VALU] strlen(<name>)" (3).
inline void RequireText(const char* text, std::size_t limit, const char* name) {
    if (text == nullptr) {
        kvt::Fail(std::string("[VALU] ") + name, 3);
    }
    if (strnlen(text, limit + 1) > limit) {
        kvt::Fail(std::string("[VALU] strlen(") + name + ")", 3);
    }
}

}  // namespace kvtq517
