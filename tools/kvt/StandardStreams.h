// kvt's standard output kept apart from the libraries' own console lines.
//
// The factory API library, the core library and the plug-in print diagnostic lines
// to standard output (plug-in discovery, timer restarts, tool modes; KvtDll.log has
// them too). So that kvt's standard output carries only what kvt prints (one JSON
// document with --json), kvt keeps a duplicate of the original standard output for
// itself and, before it loads "oxrmsg.dll", points the process's standard output (the
// handle and C runtime descriptor 1) elsewhere: at the null device, or at standard
// error when the user asks to see those lines (--verbose).
#pragma once

#include <string>

#include "common/Handles.h"

namespace kvtcli {

class StandardStreams {
public:
    // Takes the duplicate and diverts the process's standard output.
    explicit StandardStreams(bool libraryLinesToErr);

    // Writes to kvt's own standard output / to standard error. Line ends "\n" are
    // written as CR LF.
    void Out(const std::string& text) const;
    void Err(const std::string& text) const;
    // Writes to standard error as it is (progress lines with "\r").
    void ErrRaw(const std::string& text) const;

    // True when standard error is a console window (not a file or a pipe).
    bool ErrIsTerminal() const;

private:
    kvt::UniqueFile _out;    // the original standard output
    kvt::UniqueFile _null;   // where the libraries' lines go without --verbose
    HANDLE _err = INVALID_HANDLE_VALUE;
};

}  // namespace kvtcli
