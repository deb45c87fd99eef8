// The result text: everything the tool reports, shown once more at the end.
#pragma once

#include <cstddef>

namespace tavol {

// A fixed text buffer that is never overrun: what does not fit is cut off (on a
// character boundary) and the text stays zero-terminated.
class CResultText {
public:
    static constexpr std::size_t kSize = 4096;

    void Append(const char* text);
    const char* Text() const { return _text; }
    std::size_t Length() const { return _length; }
    void Clear();

private:
    char _text[kSize] = {};
    std::size_t _length = 0;
};

// The one result text of the process.
CResultText& TheResultText();

// A reported message has at most this many characters (bytes); a longer one is cut.
constexpr std::size_t kReportMaxChars = 399;

// Formats the message (at most kReportMaxChars bytes, cut on a character boundary),
// appends it to the result text and prints it to the console.
void Report(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tavol
