// C++ exceptions never unwind across a module boundary in this system.
//
// The ship build (i686, DWARF-2 unwinding) links the runtime into every module
// statically, and one module's unwinder cannot walk another module's frames: a
// CException thrown in Corvane and caught in KvtQ517 would end the process. So an
// exported member that can fail comes in two halves:
//
//     void ReadMemory(const unsigned& a, const unsigned& s, unsigned char* d)
//         { kvt::RaiseReported(_ReadMemory(a, s, d)); }        // inline: caller's module
//     CException* _ReadMemory(const unsigned& a, const unsigned& s,
//                             unsigned char* d) noexcept;       // exported
//
// The exported half runs its body in kvt::ReportFailure(), which hands the failure
// back instead of letting it escape; the inline half raises it again in the calling
// module, where it is caught. A failure that was not a CException crosses as a marker
// and is raised as kvt::ForeignFailure, which callers see as "anything else".
#pragma once

#include <utility>

#include "common/Exception.h"

namespace kvt {

struct ForeignFailure {};

template <class Body>
CException* ReportFailure(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return nullptr;
    } catch (CException* e) {
        return e;
    } catch (...) {
        return CException::NewForeign();
    }
}

inline void RaiseReported(CException* failure) {
    if (failure == nullptr) {
        return;
    }
    if (failure->IsForeign()) {
        delete failure;
        throw ForeignFailure();
    }
    throw failure;
}

}  // namespace kvt
