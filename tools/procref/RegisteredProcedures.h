// The names a plug-in registers, read from the plug-in itself: it is loaded and its
// RegisterEventProcList is called with a host function that collects every call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace procref {

struct RegisteredProcedure {
    std::string name;
    std::uintptr_t procedure = 0;   // address while the plug-in was loaded; equal = same procedure
    unsigned long size = 0;         // 0: KVT_ExecuteEventProcS does not compare the size
    unsigned long direction = 0;    // 0 in, 1 out, 3 none
};

constexpr unsigned long kDirectionIn = 0;
constexpr unsigned long kDirectionOut = 1;
constexpr unsigned long kDirectionNone = 3;

// The registrations in their order. False with `error` set when the plug-in cannot be
// loaded, lacks the export, or registers nothing.
bool CollectRegistrations(const std::string& plugInPath, std::vector<RegisteredProcedure>& out,
                          std::string& error);

}  // namespace procref
