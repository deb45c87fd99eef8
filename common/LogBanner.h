// The load and unload banners of the libraries and the log start-up and shut-down
// they are part of.
//
//     "[CMNT] *******...*******"            (79 asterisks)
//     "[CMNT]  Corvane.dll Initialize"
//     "[CMNT] *******...*******"
//
// Corvane:  StartLibraryLog(s_log, "Corvane.dll"); WriteCurrentTime(s_log);
//           ... StopLibraryLog(s_log, "Corvane.dll");
// A library whose commits differ composes BannerRule / BannerTitle and CommitLog.
#pragma once

#include <ctime>
#include <string>

#include "common/LogStream.h"

namespace kvtlog {

// Stamped "[CMNT] " and 79 asterisks.
void BannerRule(LogStream& log);
// Stamped "[CMNT]  <module> <event>" (two blanks after the tag).
void BannerTitle(LogStream& log, const char* module, const char* event);
// Rule, title, rule; commit.
void WriteBanner(LogStream& log, const char* module, const char* event);

// Stamped "[CMNT] Current Time is <asctime layout>" (it ends with a line feed), or
// "[VALU] Invalid Time" when the local time is not available; commit.
void WriteCurrentTime(LogStream& log);
// The asctime layout of a broken-down time, "Wed Jan  2 03:04:05 2019\n", built
// without asctime's fixed buffer (any year fits); empty for fields out of range.
std::string AscTimeText(const std::tm& t);

// Log start-up of a library: restart the global timer (the staging buffer does not
// exist yet, so its restart line goes nowhere), allocate the staging buffer, write the
// "Initialize" banner and commit.
void StartLibraryLog(LogStream& log, const char* module);
// Log shut-down: the "Terminate" banner, commit, free the staging buffer.
void StopLibraryLog(LogStream& log, const char* module);

}  // namespace kvtlog
