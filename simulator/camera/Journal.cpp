#include "simulator/camera/Journal.h"

#include "simulator/camera/Bytes.h"
#include "simulator/camera/Status.h"
#include "simulator/recording/RecordingFormat.h"

namespace kvtsim {

JournalLine& JournalLine::Add(const char* key, const std::string& value) {
    _text += ' ';
    _text += key;
    _text += '=';
    _text += value;
    return *this;
}

JournalLine& JournalLine::Add(const char* key, std::uint64_t value) {
    return Add(key, std::to_string(value));
}

JournalLine& JournalLine::AddHex(const char* key, std::uint32_t value) {
    return Add(key, Hex8(value));
}

JournalLine& JournalLine::AddName(const char* key, const char* name) {
    return Add(key, kvtrec::EscapeName(name));
}

void Journal::Append(const JournalLine& line) {
    std::string text = std::to_string(::GetCurrentProcessId()) + ":" + std::to_string(++_seq) +
                       " " + line.Text() + "\r\n";
    if (_file) {
        DWORD written = 0;
        ::WriteFile(_file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    _bytes += text.size();
    _lines.push_back(std::move(text));
    while (_bytes > kMaxJournalBytes && _lines.size() > 1) {
        _bytes -= _lines.front().size();
        _lines.pop_front();
    }
}

std::string Journal::Text() const {
    std::string all;
    all.reserve(_bytes);
    for (const std::string& l : _lines) {
        all += l;
    }
    return all;
}

void Journal::Clear() {
    _lines.clear();
    _bytes = 0;
}

bool Journal::SetFile(const std::string& path) {
    _file.Reset();
    if (path.empty()) {
        return true;
    }
    _file.Reset(::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return _file.Valid();
}

}  // namespace kvtsim
