// The frame and the checks shared by every procedure of the plug-in.
//
//   unsigned long __cdecl GetLanguage(void* p) {
//       return pellor::RunProcedure(s_log, "GetLanguage", [&] {
//           auto* value = pellor::RequireParameter<unsigned long>(p, "pLanguage");
//           ...
//       });
//   }
//
// RunProcedure writes "[----]" and "[FUNC] <log name>", commits, runs the body, turns a
// CException into its code ("[ERR!] - " and its message) and anything else into 33
// ("[ERR!] UnExpected Exception"), writes "[FUNC] <log name> - <result>" and commits.
// A body returns void (result 0) or its own result code.
#pragma once

#include <string>
#include <utility>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "common/LogStream.h"

namespace pellor {

template <class Body>
unsigned long RunProcedure(kvtlog::LogStream& log, const char* logName, Body&& body) noexcept {
    std::string entry;
    try {
        entry = std::string("[FUNC] ") + logName;
    } catch (...) {
        return 33;
    }
    return kvtlog::RunFrame(log, {entry.c_str()}, std::forward<Body>(body));
}

// Parameter check: a null parameter fails with "[VALU] <name>" and code 3, before any
// camera work.
template <class T>
T* RequireParameter(void* p, const char* name) {
    if (p == nullptr) {
        kvt::Fail(std::string("[VALU] ") + name, 3);
    }
    return static_cast<T*>(p);
}

// Tested run: a camera result with bit 0 set fails with "[EVNT] <procedure>" and the
// result as code.
inline void RequireCameraSuccess(int result, const char* procedure) {
    if ((static_cast<unsigned>(result) & 1u) != 0) {
        kvt::Fail(std::string("[EVNT] ") + procedure, static_cast<unsigned long>(result));
    }
}

// Internal call: a routine result with bit 0 set fails with "[FUNC] <log name>" and
// that result as code.
inline void RequireRoutineSuccess(unsigned long result, const char* logName) {
    if ((result & 1u) != 0) {
        kvt::Fail(std::string("[FUNC] ") + logName, result);
    }
}

}  // namespace pellor
