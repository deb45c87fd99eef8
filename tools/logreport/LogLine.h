// One line of "KvtDll.log" taken apart: time stamp, tag and what the line says.
#pragma once

#include <cstdint>
#include <string_view>

namespace logreport {

enum class LineKind : char {
    Empty,          // no text (a dump of no bytes ends with one)
    Restart,        // the global timer's restart line (no time stamp)
    Separator,      // "[----]" before an entry line
    Entry,          // "[FUNC] <name>" or "[KVTI] <name>"
    Exit,           // "<entry text> - <result>"
    Heading,        // entry-like heading followed by value lines, never by an exit
    Failure,        // "[ERR!] ..."
    Timing,         // "[TIME] ... : Camera[i] : <label>"
    Dump,           // "<tag>  Data[ <offset> ] ..."
    DumpFragment,   // bytes of a dump line without a stamp: the rest of a line that
                    // another process's commit cut in two
    BannerRule,     // "[CMNT] *****"
    BannerTitle,    // "[CMNT]  <module> Initialize|Terminate"
    CurrentTime,    // "[CMNT] Current Time is <asctime>"
    Text,           // any other stamped line
    Unstamped,      // a line without a time stamp that is none of the above
    Damaged,        // control bytes or binary noise
};

struct LogLine {
    LineKind kind = LineKind::Text;
    bool stamped = false;
    std::uint32_t stamp = 0;     // milliseconds since the timer's last restart
    std::string_view body;       // the text after the time stamp
    // Entry, Exit: the operation's name; Exit: the text after " : " (the procedure of
    // an execute export), if any. Failure: the message. Timing: the label.
    // BannerTitle: the module and the event.
    std::string_view name;
    std::string_view detail;
    bool exportTag = false;      // Entry, Exit: "[KVTI]" (else "[FUNC]")
    long result = 0;             // Exit
    unsigned camera = 0;         // Timing
    std::uint32_t milliseconds = 0;   // Timing
    bool load = false;           // BannerTitle: Initialize (else Terminate)
};

// Takes one line apart (the text without its line end). The views point into `text`.
LogLine ParseLine(std::string_view text);

// The position after the stamp field "<10 characters, digits right-aligned> | " at
// `at`, or 0 when there is none; its value in `stamp`.
std::size_t ParseStamp(std::string_view text, std::size_t at, std::uint32_t& stamp);

}  // namespace logreport
