// Where ComLIB's texts go: the progress messages ("[ComLIB] >> ...") to standard
// output, and the two warnings through one message seam, so that tests and headless
// runs never wait on a window.
#pragma once

#include <cstdio>

// Receives a warning: `caption` is null for a box without caption.
using ComLibMessageSink = void(__cdecl*)(const char* text, const char* caption);

// Replaces the message seam; null restores the default. Returns the previous sink.
ComLibMessageSink ComLibSetMessageSink(ComLibMessageSink sink) noexcept;

// The default: a message box when the process has an interactive window station and
// the environment variable KVT_NO_MESSAGE_BOX is not set, and when the box cannot be
// shown; otherwise the caption (if any) and the text, each on a line, to standard error.
void __cdecl ComLibDefaultMessageSink(const char* text, const char* caption);

// Sends the progress messages to `out` (null: standard output). Returns the previous.
std::FILE* ComLibSetProgressOutput(std::FILE* out) noexcept;

namespace comlib {

// One progress line: the formatted text and a line end, flushed.
void Progress(const char* format, ...) noexcept
    __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
// A failed step: "[ComLIB] <step> Failed! [NAME:<name>] [ERROR:<code>]".
void ProgressFailure(const char* step, const char* name, unsigned long error) noexcept;
// Passes a warning to the current sink.
void ShowMessage(const char* text, const char* caption) noexcept;

}  // namespace comlib
