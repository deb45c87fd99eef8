// GetProcAddress gives an untyped entry; this is where a bound function gets its type:
// the type of the struct member it is stored in (through void(*)(), the neutral
// function pointer type), never a cast written at the call site.
//
//   {"k2pInitialize", &AssignEntry<&Functions::Initialize>},   // a row of a binding table
#pragma once

#include "common/Win32.h"

namespace kvt {

template <class Member>
struct MemberOf;
template <class Owner, class Fn>
struct MemberOf<Fn Owner::*> {
    using Struct = Owner;
    using Type = Fn;
};

template <auto Slot>
void AssignEntry(typename MemberOf<decltype(Slot)>::Struct& functions, FARPROC entry) {
    using Fn = typename MemberOf<decltype(Slot)>::Type;
    functions.*Slot = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace kvt
