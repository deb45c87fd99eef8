#include "simulator/camera/Recording.h"

#include <algorithm>
#include <cstring>

#include "common/Handles.h"
#include "common/Win32.h"
#include "core/transport/TransportApi.h"
#include "simulator/camera/Bytes.h"
#include "simulator/camera/ValueSyntax.h"

namespace kvtsim {
namespace {

constexpr std::size_t kMaxRecordingBytes = 1u << 30;
constexpr std::size_t kDescribedBytes = 32;  // of a block in a message

enum class Value { Number, NumberOrNull, Name, Record, Block };

struct KeySpec {
    const char* key;
    Value value;
    bool required;
    bool input;  // part of what the call was given, matched by the replay
};

struct FunctionSpec {
    const char* function;
    std::vector<KeySpec> keys;  // "st" is implied
};

// What each function's line holds. Output pointers ("count", "res", "copied", ...) are
// written as "null" when the caller passed none; the replay matches that, too.
const std::vector<FunctionSpec>& Specs() {
    static const std::vector<FunctionSpec> specs = {
        {"k2pInitialize", {}},
        {"k2pTerminate", {}},
        {"k2pGetDeviceInfoArray",
         {{"count", Value::NumberOrNull, false, false}, {"records", Value::Block, false, false}}},
        {"k2pConnectCamera",
         {{"record", Value::Record, true, true}, {"h", Value::NumberOrNull, false, false}}},
        {"k2pClearRemoteEventProcedureParameter", {{"h", Value::Number, true, true}}},
        {"k2pPushRemoteEventProcedureSendParameter",
         {{"h", Value::Number, true, true},
          {"type", Value::Number, true, true},
          {"size", Value::Number, true, true},
          {"data", Value::Block, false, true}}},
        {"k2pExecuteRemoteEventProcedure",
         {{"h", Value::Number, true, true},
          {"proc", Value::Name, true, true},
          {"flag", Value::Number, true, true},
          {"res", Value::NumberOrNull, false, false}}},
        {"k2pGetReturnDataSize", {{"size", Value::NumberOrNull, false, false}}},
        {"k2pGetReturnDataForExecuteRemoteEventProcedure",
         {{"h", Value::Number, true, true},
          {"size", Value::Number, true, true},
          {"copied", Value::NumberOrNull, false, false},
          {"data", Value::Block, false, false}}},
        {"k2pGetSizeOfMemoryData",
         {{"h", Value::Number, true, true},
          {"block", Value::Name, true, true},
          {"size", Value::NumberOrNull, false, false}}},
        {"k2pExecuteGetMemoryData",
         {{"h", Value::Number, true, true},
          {"size", Value::Number, true, true},
          {"read", Value::NumberOrNull, false, false},
          {"data", Value::Block, false, false}}},
    };
    return specs;
}

const FunctionSpec* SpecOf(const std::string& function) {
    for (const FunctionSpec& s : Specs()) {
        if (function == s.function) {
            return &s;
        }
    }
    return nullptr;
}

bool ReadBlock(const std::string& value, const std::string& folder, RecordedBlock* block,
               std::string* error) {
    block->present = true;
    if (value == kvtrec::kNull) {
        block->null = true;
        return true;
    }
    const std::size_t prefix = std::strlen(kvtrec::kFilePrefix);
    std::string name;
    if (value.compare(0, prefix, kvtrec::kFilePrefix) == 0 &&
        kvtrec::UnescapeName(value.substr(prefix), &name)) {
        block->file = kvtrec::PathFrom(folder, name);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (name.empty() ||
            !::GetFileAttributesExA(block->file.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            *error = "cannot read the block file " + block->file;
            return false;
        }
        block->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return true;
    }
    if (!kvtrec::FromHex(value, &block->bytes)) {
        *error = "a block is hexadecimal digits, \"null\" or \"file:<name>\"";
        return false;
    }
    block->size = block->bytes.size();
    return true;
}

bool CheckValue(const kvtrec::CallLine& line, const KeySpec& spec, const std::string& folder,
                RecordedCall* out, std::string* error) {
    const std::string value = line.Get(spec.key);
    std::uint32_t number = 0;
    std::string name;
    bool ok = true;
    switch (spec.value) {
        case Value::Number:
            ok = kvtrec::ParseU32(value, &number);
            break;
        case Value::NumberOrNull:
            ok = value == kvtrec::kNull || kvtrec::ParseU32(value, &number);
            break;
        case Value::Name:
            ok = kvtrec::UnescapeName(value, &name);
            break;
        case Value::Record:
            ok = value == kvtrec::kNull || value == "other" || kvtrec::ParseU32(value, &number);
            break;
        case Value::Block:
            return ReadBlock(value, folder, &out->block, error);
    }
    if (!ok) {
        *error = std::string("bad value of '") + spec.key + "'";
    }
    return ok;
}

// The block's length against the call's other numbers.
bool CheckBlockLength(const RecordedCall& c, std::string* error) {
    if (!c.block.present || c.block.null) {
        return true;
    }
    std::uint64_t expected = 0;
    std::uint32_t size = 0, reported = 0;
    const std::string& f = c.call.function;
    if (f == "k2pPushRemoteEventProcedureSendParameter") {
        c.Number("size", &size);
        expected = size;
    } else if (f == "k2pGetDeviceInfoArray") {
        if (!c.Number("count", &reported)) {
            *error = "records without a count";
            return false;
        }
        expected = static_cast<std::uint64_t>(reported) * kDeviceInfoRecordSize;
    } else {
        c.Number("size", &size);
        if (!c.Number(f == "k2pExecuteGetMemoryData" ? "read" : "copied", &reported)) {
            *error = "data without the count copied";
            return false;
        }
        expected = std::min(size, reported);
    }
    if (c.block.size != expected) {
        *error = "the block holds " + std::to_string(c.block.size) + " bytes, not " +
                 std::to_string(expected);
        return false;
    }
    return true;
}

bool CheckCall(const std::string& folder, RecordedCall* c, std::string* error) {
    const FunctionSpec* spec = SpecOf(c->call.function);
    if (spec == nullptr) {
        *error = "'" + c->call.function + "' is not a transport function";
        return false;
    }
    for (const auto& field : c->call.fields) {
        const bool known = field.first == "st" ||
                           std::any_of(spec->keys.begin(), spec->keys.end(),
                                       [&](const KeySpec& k) { return field.first == k.key; });
        if (!known) {
            *error = "unknown key '" + field.first + "'";
            return false;
        }
    }
    if (!kvtrec::ParseU32(c->call.Get("st"), &c->status)) {
        *error = "every call has its status 'st'";
        return false;
    }
    for (const KeySpec& k : spec->keys) {
        if (!c->call.Has(k.key)) {
            if (k.required) {
                *error = std::string("'") + k.key + "' is missing";
                return false;
            }
            continue;
        }
        if (!CheckValue(c->call, k, folder, c, error)) {
            return false;
        }
    }
    return CheckBlockLength(*c, error);
}

}  // namespace

bool RecordedBlock::CopyTo(void* to, std::uint64_t count) const {
    count = std::min(count, size);
    if (count == 0) {
        return true;
    }
    if (file.empty()) {
        std::memcpy(to, bytes.data(), static_cast<std::size_t>(count));
        return true;
    }
    // Straight from the file into the caller's buffer: the one copy of the bytes.
    kvt::UniqueFile in(::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    char* at = static_cast<char*>(to);
    while (in && count > 0) {
        const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        DWORD read = 0;
        if (!::ReadFile(in.Get(), at, chunk, &read, nullptr) || read != chunk) {
            return false;
        }
        at += chunk;
        count -= chunk;
    }
    return in.Valid();
}

bool RecordedBlock::Equals(const void* data, std::uint64_t count) const {
    if (count != size) {
        return false;
    }
    if (file.empty()) {
        return count == 0 || std::memcmp(data, bytes.data(), static_cast<std::size_t>(count)) == 0;
    }
    Bytes content;
    return ReadWholeFile(file, static_cast<std::size_t>(size), &content) &&
           content.size() == count && std::memcmp(data, content.data(), content.size()) == 0;
}

bool RecordedCall::Number(const char* key, std::uint32_t* value) const {
    return kvtrec::ParseU32(call.Get(key), value);
}

bool RecordedCall::HasHandle() const {
    return call.function != "k2pConnectCamera" && call.Has("h");
}

std::uint32_t RecordedCall::Handle() const {
    std::uint32_t h = 0;
    Number("h", &h);
    return h;
}

std::string RecordedCall::Call() const {
    std::string text = call.function + "(";
    bool first = true;
    for (const std::string& key : InputKeys(call.function)) {
        if (!call.Has(key)) {
            continue;
        }
        std::string value = call.Get(key);
        if (value.size() > 2 * kDescribedBytes && value.compare(0, 5, kvtrec::kFilePrefix) != 0) {
            value = value.substr(0, 2 * kDescribedBytes) + "..";
        }
        text += (first ? "" : ",") + key + "=" + value;
        first = false;
    }
    return text + ")";
}

const std::vector<std::string>& InputKeys(const std::string& function) {
    static const std::vector<std::vector<std::string>> keys = [] {
        std::vector<std::vector<std::string>> all;
        for (const FunctionSpec& s : Specs()) {
            all.emplace_back();
            for (const KeySpec& k : s.keys) {
                if (k.input) {
                    all.back().push_back(k.key);
                }
            }
        }
        return all;
    }();
    static const std::vector<std::string> none;
    for (std::size_t i = 0; i < Specs().size(); ++i) {
        if (function == Specs()[i].function) {
            return keys[i];
        }
    }
    return none;
}

bool LoadRecording(const std::string& path, std::vector<RecordedCall>* calls, std::string* error) {
    Bytes content;
    if (!ReadWholeFile(path, kMaxRecordingBytes, &content)) {
        *error = "cannot read the recording";
        return false;
    }
    const std::string text(content.begin(), content.end());
    const std::string folder = kvtrec::FolderOf(path);
    std::vector<RecordedCall> parsed;
    unsigned lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::string line =
            text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        ++lineNumber;
        if (lineNumber == 1) {
            if (line.compare(0, std::strlen(kvtrec::kHeader), kvtrec::kHeader) != 0) {
                *error = std::string("line 1: a recording starts with \"") + kvtrec::kHeader + "\"";
                return false;
            }
            continue;
        }
        RecordedCall c;
        c.call.line = lineNumber;
        std::string lineError;
        if (!kvtrec::ParseCallLine(line, &c.call, &lineError)) {
            if (!lineError.empty()) {
                *error = "line " + std::to_string(lineNumber) + ": " + lineError;
                return false;
            }
            continue;
        }
        if (!CheckCall(folder, &c, &lineError)) {
            *error = "line " + std::to_string(lineNumber) + ": " + lineError;
            return false;
        }
        parsed.push_back(std::move(c));
    }
    if (lineNumber == 0) {
        *error = std::string("line 1: a recording starts with \"") + kvtrec::kHeader + "\"";
        return false;
    }
    *calls = std::move(parsed);
    return true;
}

}  // namespace kvtsim
