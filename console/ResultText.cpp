#include "console/ResultText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "console/TextCut.h"

namespace tavol {

void CResultText::Append(const char* text) {
    if (text == nullptr) {
        return;
    }
    std::size_t room = kSize - 1 - _length;
    std::size_t n = std::strlen(text);
    if (n > room) {
        n = WholeCharacterLength(text, room);
    }
    std::memcpy(_text + _length, text, n);
    _length += n;
    _text[_length] = '\0';
}

void CResultText::Clear() {
    _length = 0;
    _text[0] = '\0';
}

CResultText& TheResultText() {
    static CResultText text;
    return text;
}

void Report(const char* format, ...) {
    char message[kReportMaxChars + 1];
    va_list args;
    va_start(args, format);
    int wanted = std::vsnprintf(message, sizeof(message), format, args);
    va_end(args);
    message[kReportMaxChars] = '\0';
    // A runtime whose vsnprintf returns -1 on truncation is cut the same way.
    if (wanted < 0 || static_cast<std::size_t>(wanted) > kReportMaxChars) {
        message[WholeCharacterLength(message, std::strlen(message))] = '\0';
    }
    TheResultText().Append(message);
    std::fputs(message, stdout);
}

}  // namespace tavol
