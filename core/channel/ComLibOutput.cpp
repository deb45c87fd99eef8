#include "core/channel/ComLibOutput.h"

#include <cstdarg>

#include "common/Win32.h"

namespace {

ComLibMessageSink s_sink = &ComLibDefaultMessageSink;
std::FILE* s_progress = nullptr;  // null: standard output

bool MessageBoxSwitchedOff() {
    char value[2];
    return ::GetEnvironmentVariableA("KVT_NO_MESSAGE_BOX", value, sizeof(value)) != 0 ||
           ::GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

// A service or a process without a visible window station has nobody to click a box.
bool HasInteractiveWindowStation() {
    HWINSTA station = ::GetProcessWindowStation();
    if (station == nullptr) {
        return false;
    }
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!::GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) {
        return false;
    }
    if ((flags.dwFlags & WSF_VISIBLE) == 0) {
        return false;
    }
    HDESK desktop = ::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (desktop == nullptr) {
        return false;
    }
    ::CloseDesktop(desktop);
    return true;
}

}  // namespace

ComLibMessageSink ComLibSetMessageSink(ComLibMessageSink sink) noexcept {
    ComLibMessageSink previous = s_sink;
    s_sink = sink != nullptr ? sink : &ComLibDefaultMessageSink;
    return previous;
}

void __cdecl ComLibDefaultMessageSink(const char* text, const char* caption) {
    if (!MessageBoxSwitchedOff() && HasInteractiveWindowStation()) {
        const UINT style = MB_OK | (caption != nullptr ? MB_ICONWARNING : 0);
        // 0 (and -1 under a display-less Wine) means no box was shown.
        if (::MessageBoxA(nullptr, text, caption, style) > 0) {
            return;
        }
    }
    if (caption != nullptr) {
        std::fputs(caption, stderr);
        std::fputc('\n', stderr);
    }
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

std::FILE* ComLibSetProgressOutput(std::FILE* out) noexcept {
    std::FILE* previous = s_progress != nullptr ? s_progress : stdout;
    s_progress = out;
    return previous;
}

namespace comlib {

void Progress(const char* format, ...) noexcept {
    std::FILE* out = s_progress != nullptr ? s_progress : stdout;
    va_list args;
    va_start(args, format);
    std::vfprintf(out, format, args);
    va_end(args);
    std::fputc('\n', out);
    std::fflush(out);
}

void ProgressFailure(const char* step, const char* name, unsigned long error) noexcept {
    Progress("[ComLIB] %s Failed! [NAME:%s] [ERROR:%lu]", step, name, error);
}

void ShowMessage(const char* text, const char* caption) noexcept {
    try {
        s_sink(text, caption);
    } catch (...) {
        // A sink never takes the channel down with it.
    }
}

}  // namespace comlib
