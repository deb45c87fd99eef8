// The traffic journal: one line per transport call, kept in memory (the newest
// 64 MB) and, when a file is set, appended to it at once, so that a test can read
// what a child process sent even if the child is killed.
//
// Line: "<pid>:<seq> <function> key=value ..." with single blanks; values hold no
// blanks (names escape bytes outside '!'..'~' and '%' as %XX).
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "common/Handles.h"

namespace kvtsim {

// Builds one journal line.
class JournalLine {
public:
    explicit JournalLine(const char* function) : _text(function) {}
    JournalLine& Add(const char* key, const std::string& value);
    JournalLine& Add(const char* key, std::uint64_t value);  // decimal
    JournalLine& AddHex(const char* key, std::uint32_t value); // 0x and 8 digits
    JournalLine& AddName(const char* key, const char* name);   // escaped; "(null)" for null
    const std::string& Text() const { return _text; }

private:
    std::string _text;
};

class Journal {
public:
    void Append(const JournalLine& line);
    std::string Text() const;
    void Clear();
    // An empty path stops the file journal. False when the file cannot be opened.
    bool SetFile(const std::string& path);

private:
    std::deque<std::string> _lines;
    std::size_t _bytes = 0;
    std::uint64_t _seq = 0;
    kvt::UniqueFile _file;
};

}  // namespace kvtsim
