// The eleven functions of the transport interface, by name.
#pragma once

#include <string>

namespace kvtsim {

constexpr unsigned kTransportFunctionCount = 11;
extern const char* const kTransportFunctions[kTransportFunctionCount];
bool IsTransportFunction(const std::string& name);

}  // namespace kvtsim
