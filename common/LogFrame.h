// The operation frames of the log, written once for every library.
//
// Boundary frame (exported functions, plug-in procedures):
//     return kvtlog::RunFrame(g_log, {"[KVTI] KVT_OpenDevice"}, [&] { ...body... });
// writes "[----]" and the entry line, runs the body, turns a CException into its code
// ("[ERR!] - " and its message) and anything else into 33 ("[ERR!] UnExpected
// Exception"), writes the exit line "<entry> - <result>" and returns the result.
// A body may return void (result 0) or its own unsigned result.
//
// Class frame (members of the core classes):
//     return kvtlog::RunInClassFrame(s_log, kFrame, [&] { ...body... });
// logs a caught CException and raises "[FUNC] <Class::Member>" with code 1 or the
// caught code; anything else is raised as each member's policy says.
//
// Each frame is one operation of the fast log (LogBatch.h): with it switched on, the
// lines wait until the outermost operation of the process ends.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>

#include "common/Exception.h"
#include "common/LogBatch.h"
#include "common/LogFile.h"
#include "common/LogStream.h"
#include "common/LogTexts.h"

namespace kvtlog {

struct FrameLines {
    const char* entry;                 // tag and name: "[KVTI] KVT_OpenDevice"
    std::string exit = {};             // exit text when it differs from the entry text
    bool header = true;                // "[----]" and the entry line
    bool exitLine = true;
    bool commitFailureLine = false;    // commit right after a failure line
    bool failuresToStderr = false;     // failure lines also to standard error
    unsigned long otherCode = 33;      // result for a failure that is not a CException
    const char* otherText = text::kUnexpected;
    bool separator = true;             // with header: "[----]" before the entry line
};

namespace detail {
inline void FailureLine(LogStream& log, const FrameLines& f, const std::string& text) {
    Line(log, text);
    if (f.failuresToStderr) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    }
    if (f.commitFailureLine) {
        CommitLog(log);
    }
}
}  // namespace detail

template <class Body>
unsigned long RunFrame(LogStream& log, const FrameLines& f, Body&& body) noexcept {
    const LogOperation operation;
    if (f.header) {
        if (f.separator) {
            Line(log, text::kSeparator);
        }
        Line(log, f.entry);
        CommitLog(log);
    }
    unsigned long result = 0;
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
            std::forward<Body>(body)();
        } else {
            result = static_cast<unsigned long>(std::forward<Body>(body)());
        }
    } catch (CException* e) {
        result = e->Code();
        std::string failure = text::kFailure + e->Message();
        delete e;
        detail::FailureLine(log, f, failure);
    } catch (...) {
        result = f.otherCode;
        detail::FailureLine(log, f, f.otherText);
    }
    if (f.exitLine) {
        Stamp(log) << (f.exit.empty() ? std::string(f.entry) : f.exit) << text::kExitResult
                   << std::dec << static_cast<long>(result) << '\n';
        CommitLog(log);
    }
    return result;
}

// What a class frame does with a failure.
struct ClassFrame {
    const char* name;                // "CFilePath::CreateDirectory": raised as "[FUNC] " + name
    bool keepCaughtCode;             // a caught CException is raised with its code (else 1)
    bool commitCaughtLine = true;    // commit right after the "[ERR!] - " line
    enum class Other {
        Silent1,    // raised with code 1, nothing logged
        Silent33,   // raised with code 33, nothing logged
        Logged33,   // "[ERR!] UnExpected Exception" and commit, raised with code 33
    } other = Other::Logged33;
    const char* otherName = nullptr; // name for the "anything else" case, if it differs
};

template <class Body>
auto RunInClassFrame(LogStream& log, const ClassFrame& f, Body&& body)
    -> std::invoke_result_t<Body> {
    const LogOperation operation;
    try {
        return std::forward<Body>(body)();
    } catch (CException* e) {
        const unsigned long code = f.keepCaughtCode ? e->Code() : 1;
        Stamp(log) << text::kFailure << e->Message() << '\n';
        delete e;
        if (f.commitCaughtLine) {
            CommitLog(log);
        }
        kvt::Fail(std::string("[FUNC] ") + f.name, code);
    } catch (...) {
        const char* name = f.otherName != nullptr ? f.otherName : f.name;
        switch (f.other) {
        case ClassFrame::Other::Silent1:
            kvt::Fail(std::string("[FUNC] ") + name, 1);
        case ClassFrame::Other::Silent33:
            kvt::Fail(std::string("[FUNC] ") + name, 33);
        case ClassFrame::Other::Logged33:
            break;
        }
        Line(log, text::kUnexpected);
        CommitLog(log);
        kvt::Fail(std::string("[FUNC] ") + name, 33);
    }
}

// A destructor never lets a failure out: it logs what its clean-up reported
// ("[ERR!] - <message>", then "[ERR!] - [FUNC] <member>"), commits and deletes it.
inline void LogSwallowedFailure(LogStream& log, CException* failure, const char* member) noexcept {
    if (failure == nullptr) {
        return;
    }
    try {
        Stamp(log) << text::kFailure << failure->Message() << '\n';
        Stamp(log) << text::kFailure << "[FUNC] " << member << '\n';
        CommitLog(log);
    } catch (...) {
    }
    delete failure;
}

}  // namespace kvtlog
