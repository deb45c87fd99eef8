// The fixed texts of "KvtDll.log". The libraries' log writers compose their lines
// from these, and KvtLogReport reads the lines back by the same texts.
#pragma once

namespace kvtlog {
namespace text {

// The time stamp: the milliseconds right-aligned in this width, then the separator.
inline constexpr unsigned long kStampWidth = 10;
inline constexpr char kStampEnd[] = " | ";

// Operation frames: the separator line, then the entry line (tag and name); the exit
// line is the entry text, kExitResult and the result as a signed decimal number.
inline constexpr char kSeparator[] = "[----]";
inline constexpr char kExitResult[] = " - ";
// An execute export's exit text names the procedure: "<entry> : <procedure>".
inline constexpr char kExitDetail[] = " : ";
inline constexpr char kFunctionTag[] = "[FUNC]";
inline constexpr char kExportTag[] = "[KVTI]";
// A caught failure: this and the exception's message; anything else caught.
inline constexpr char kFailure[] = "[ERR!] - ";
inline constexpr char kFailureTag[] = "[ERR!]";
inline constexpr char kUnexpected[] = "[ERR!] UnExpected Exception";

// The global timer's restart, a line of its own without a time stamp.
inline constexpr char kTimerRestart[] = ">>>>> Global Timer Restart >>>>>";

// Load and unload banners: rule, "[CMNT]  <module> <event>", rule.
inline constexpr char kBannerRule[] =
    "[CMNT] "
    "***************************************"
    "****************************************";
inline constexpr char kBannerTitle[] = "[CMNT]  ";
inline constexpr char kBannerLoad[] = "Initialize";
inline constexpr char kBannerUnload[] = "Terminate";
// The core library is the first to load into a process and the last to leave it.
inline constexpr char kCoreModule[] = "Corvane.dll";
// Written by the core library's load: this and the local time in the asctime layout.
inline constexpr char kCurrentTime[] = "[CMNT] Current Time is ";

// The duration of one transport call:
// "[TIME] <ms, width 7> msec. : Camera[<index>] : <label>".
inline constexpr char kTimingTag[] = "[TIME] ";
inline constexpr int kTimingWidth = 7;
inline constexpr char kTimingUnit[] = " msec.";
inline constexpr char kTimingCamera[] = " : Camera[";
inline constexpr char kTimingLabel[] = "] : ";

// A data dump line: the tag, then (after blanks) this and the offset.
inline constexpr char kDumpHead[] = "Data[ ";

}  // namespace text
}  // namespace kvtlog
