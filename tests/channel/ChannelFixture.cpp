#include "channel/ChannelFixture.h"

#include <cstdio>

#include "core/channel/ComLibOutput.h"
#include "support/TestSupport.h"

namespace chtest {
namespace {

std::vector<SeamMessage> s_messages;

void __cdecl RecordMessage(const char* text, const char* caption) {
    SeamMessage m;
    m.text = text != nullptr ? text : "";
    m.hasCaption = caption != nullptr;
    m.caption = caption != nullptr ? caption : "";
    s_messages.push_back(m);
}

// No test run may wait on a window: children inherit this too.
[[maybe_unused]] const bool s_noMessageBoxes = ::SetEnvironmentVariableA("KVT_NO_MESSAGE_BOX", "1") != 0;

}  // namespace

std::string UniqueName(const char* tag) {
    static unsigned counter = 0;
    return "ch" + std::to_string(::GetCurrentProcessId()) + "_" + tag +
           std::to_string(++counter);
}

RawMapping::RawMapping(const std::string& name)
    : _mapping(::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str())) {
    if (_mapping) {
        _view.Reset(::MapViewOfFile(_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
}

LONG InfoProbe::Word(unsigned index) const {
    return Valid() ? reinterpret_cast<volatile LONG*>(_map.Bytes())[index] : -1;
}

void InfoProbe::SetWord(unsigned index, LONG value) {
    if (Valid()) {
        reinterpret_cast<volatile LONG*>(_map.Bytes())[index] = value;
    }
}

PresetInfoBlock::PresetInfoBlock(const std::string& channel, LONG version)
    : _mapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 28,
                                    (channel + "_INFO").c_str())) {
    if (_mapping) {
        _view.Reset(::MapViewOfFile(_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    if (_view) {
        static_cast<LONG*>(_view.Get())[6] = version;
    }
}

ProgressCapture::ProgressCapture() {
    static unsigned counter = 0;
    _path = kvttest::CurrentDir() + "progress-" + std::to_string(::GetCurrentProcessId()) +
            "-" + std::to_string(++counter) + ".txt";
    _file = std::fopen(_path.c_str(), "w+b");
    _previous = ComLibSetProgressOutput(_file);
}

ProgressCapture::~ProgressCapture() {
    ComLibSetProgressOutput(_previous == stdout ? nullptr : _previous);
    if (_file != nullptr) {
        std::fclose(_file);
    }
    std::remove(_path.c_str());
}

std::string ProgressCapture::Text() {
    if (_file == nullptr) {
        return std::string();
    }
    std::fflush(_file);
    return kvttest::ReadFileBytes(_path);
}

std::vector<std::string> ProgressCapture::Lines() {
    if (_file == nullptr) {
        return {};
    }
    std::fflush(_file);
    return kvttest::ReadLogLines(_path, false);
}

std::string WithoutCr(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

MessageCapture::MessageCapture() {
    s_messages.clear();
    ComLibSetMessageSink(&RecordMessage);
}

MessageCapture::~MessageCapture() {
    ComLibSetMessageSink(nullptr);
}

const std::vector<SeamMessage>& MessageCapture::Messages() const {
    return s_messages;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string CaptionBytes() {
    return FromHex("8c788d90");
}

std::string VersionWarningBytes() {
    return FromHex(
        "8e67977082b582c482a282e98376838d835a83588ad492ca904d8389834383758389838a28436f6d4c49"
        "42290a82cc836f815b83578387839382aa92ca904d90e682c688d982c882c182c482a282dc82b781420a"
        "4d616a6f722056657273696f6e203d203078303520");
}

std::string NotCreatedBytes() {
    return FromHex("8ba4974c83818382838a82aa8dec90ac82b382ea82c482a282dc82b982f1");
}

}  // namespace chtest
