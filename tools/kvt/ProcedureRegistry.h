// The event procedures as the running factory API library has them.
//
// The library's exports offer no list of its registry. What the registry holds comes
// from the plug-ins the library loaded from "_Q517_\PlugIn\" beside itself: each was
// asked once to register through RegisterEventProcList. kvt asks the same loaded
// plug-ins again, with a host function of its own that records every call, in the
// order the library asked them (its folder search, "*.q517" then "*.q517.dll"). A file
// there that the library did not load (a failed version check) registered nothing.
// As in the registry, a later registration of a name hides an earlier one.
//
// The parameter shapes come from the procedure reference built into kvt (the plug-in's
// description file, the source of sdk/doc/procedures.md).
#pragma once

#include <string>
#include <vector>

#include "tools/kvt/FactoryLibrary.h"
#include "tools/procref/ProcedureDescriptions.h"

namespace kvtcli {

struct RegisteredName {
    std::string name;
    unsigned long size = 0;        // 0: the size is not compared
    unsigned long direction = 3;   // 0 in, 1 out, 3 none, as registered
    std::string plugIn;            // file name of the plug-in
};

struct PlugInState {
    std::string file;
    bool loaded = false;           // loaded by the library
    std::string problem;           // why it registered nothing
    std::size_t registered = 0;
};

struct Registry {
    std::string folder;                 // the plug-in folder
    std::vector<PlugInState> plugIns;
    std::vector<RegisteredName> names;  // registration order, hidden ones left out

    const RegisteredName* Find(const std::string& name) const;
    std::vector<std::string> Names() const;
};

// Asks the plug-ins of the loaded library.
Registry ObserveRegistry(const FactoryLibrary& library);

// "in", "out", "none", or the number.
std::string DirectionName(unsigned long direction);

// The documented parameter of a name, or null when the reference does not know it.
const procref::Description* DocumentedProcedure(const std::string& name);

}  // namespace kvtcli
