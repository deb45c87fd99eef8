// The fields of a parameter's bytes, printed by its layout: "Field = value" lines, or
// one JSON object with a member per field (arrays as arrays, texts as strings, bytes
// as hex).
#pragma once

#include <string>

#include "tools/kvt/Output.h"
#include "tools/kvt/RecordLayouts.h"

namespace kvtcli {

// Text mode: one line per field (per element of an array), indented by `indent`.
// JSON mode: the member `key` holding the object.
void PrintFields(Output& out, const Layout& layout, const std::string& bytes,
                 const std::string& key, const std::string& indent = "  ");

// The text of a Text field: up to its first zero byte.
std::string TextOf(const std::string& bytes, std::size_t offset, std::size_t size);

}  // namespace kvtcli
