// Parameter bytes from the values typed on the command line.
//
//   record    Field=value for each field to set (Field[i]=value, or Field=v1,v2,...
//             from element 0, for number arrays); fields not named are zero
//   number    the number(s): "60", "0x3c", "-2"
//   text      the text as one argument; it must leave room for the terminating zero
//   bytes     hex bytes, in one argument or several: 0a1b2c, "0a 1b 2c"
//
// A parameter without a documented shape takes typed values, laid out one after the
// other: u32:N, i32:N, text:TEXT (with its zero), hex:BYTES; a plain number counts as
// u32:N.
#pragma once

#include <string>
#include <vector>

#include "tools/kvt/RecordLayouts.h"

namespace kvtcli {

// The bytes of `layout` with the values applied (zeros elsewhere). `what` names the
// parameter in messages ("SetBodyID's BODYID_T"). UsageError for an unknown field (with
// the nearest names), a value of the wrong type, text or bytes that do not fit.
std::string FillParameter(const Layout& layout, const std::vector<std::string>& values,
                          const std::string& what);

// The typed values of a parameter without a documented shape, padded with zeros to
// `size` when that is larger (an error when they do not fit a nonzero size).
std::string FillTypedValues(const std::vector<std::string>& values, std::size_t size,
                            const std::string& what);

// Applies Field=value assignments to the bytes of a record (as FillParameter does).
void ApplyAssignments(const Layout& layout, const std::vector<std::string>& assignments,
                      std::string& bytes, const std::string& what);

}  // namespace kvtcli
