#include "simulator/camera/Replay.h"

#include <cstdio>
#include <cstring>

#include "common/Win32.h"
#include "core/transport/TransportApi.h"
#include "simulator/camera/Status.h"
#include "simulator/camera/TransportExecute.h"

namespace kvtsim {
namespace {

constexpr char kTransportStream[] = "transport";
constexpr std::size_t kDescribedBytes = 32;  // of pushed data in a message

bool IsTransportStream(const std::string& function) {
    return function == "k2pInitialize" || function == "k2pTerminate" ||
           function == "k2pGetDeviceInfoArray" || function == "k2pConnectCamera";
}

}  // namespace

// What one call was given, in the terms of its recorded line.
class Replay::Query {
public:
    explicit Query(const char* function) : _function(function) {}

    Query& Number(const char* key, std::uint32_t value) {
        _items.push_back({key, Kind::Number, value, nullptr, nullptr, 0, std::string()});
        return Show(key, std::strcmp(key, "h") == 0 ? kvtrec::Hex8(value) : std::to_string(value));
    }
    Query& Name(const char* key, const char* name) {
        _items.push_back({key, Kind::Name, 0, name, nullptr, 0, std::string()});
        return Show(key, kvtrec::EscapeName(name));
    }
    Query& Text(const char* key, const std::string& text) {
        _items.push_back({key, Kind::Text, 0, nullptr, nullptr, 0, text});
        return Show(key, text);
    }
    Query& Block(const char* key, const void* data, std::uint64_t size) {
        _items.push_back({key, Kind::Block, 0, nullptr, data, size, std::string()});
        std::string shown = kvtrec::kNull;
        if (data != nullptr) {
            shown = kvtrec::Hex(
                data, static_cast<std::size_t>(size < kDescribedBytes ? size : kDescribedBytes));
            shown += size > kDescribedBytes ? ".." : "";
        }
        return Show(key, shown);
    }
    // An output pointer: only whether it is null is matched.
    Query& Pointer(const char* key, const void* p) {
        _items.push_back({key, Kind::Pointer, 0, nullptr, p, 0, std::string()});
        return *this;
    }

    const char* Function() const { return _function; }

    bool Matches(const RecordedCall& c) const {
        if (c.call.function != _function) {
            return false;
        }
        for (const Item& item : _items) {
            if (!ItemMatches(item, c)) {
                return false;
            }
        }
        return true;
    }

    // The same function, and the same procedure or block name where it has one.
    bool SameKind(const RecordedCall& c) const {
        if (c.call.function != _function) {
            return false;
        }
        for (const Item& item : _items) {
            if (item.kind == Kind::Name && !ItemMatches(item, c)) {
                return false;
            }
        }
        return true;
    }

    std::string Describe() const { return std::string(_function) + "(" + _text + ")"; }

private:
    enum class Kind { Number, Name, Text, Block, Pointer };
    struct Item {
        const char* key;
        Kind kind;
        std::uint32_t number;
        const char* name;
        const void* data;
        std::uint64_t size;
        std::string text;
    };

    Query& Show(const char* key, const std::string& value) {
        _text += (_text.empty() ? "" : ",") + std::string(key) + "=" + value;
        return *this;
    }

    static bool ItemMatches(const Item& item, const RecordedCall& c) {
        const std::string recorded = c.call.Get(item.key);
        switch (item.kind) {
            case Kind::Number: {
                std::uint32_t v = 0;
                return c.Number(item.key, &v) && v == item.number;
            }
            case Kind::Name: {
                if (item.name == nullptr) {
                    return recorded == kvtrec::kNullName;
                }
                std::string name;
                return recorded != kvtrec::kNullName && kvtrec::UnescapeName(recorded, &name) &&
                       name == std::string(item.name, strnlen(item.name, kvtrec::kMaxNameLength));
            }
            case Kind::Text: {
                std::uint32_t a = 0, b = 0;
                return recorded == item.text || (kvtrec::ParseU32(recorded, &a) &&
                                                 kvtrec::ParseU32(item.text, &b) && a == b);
            }
            case Kind::Block:
                // Data the recorder could not take (a refused push) matches any bytes.
                if (!c.block.present) {
                    return item.data != nullptr;
                }
                return c.block.null ? item.data == nullptr
                                    : item.data != nullptr && c.block.Equals(item.data, item.size);
            case Kind::Pointer:
                return !c.call.Has(item.key) ||
                       (recorded == kvtrec::kNull) == (item.data == nullptr);
        }
        return false;
    }

    const char* _function;
    std::vector<Item> _items;
    std::string _text;
};

std::unique_ptr<Replay> Replay::Load(const std::string& path, std::string* error) {
    std::unique_ptr<Replay> replay(new Replay());
    // The full path: block files are found beside it whatever the current folder.
    char full[MAX_PATH] = {};
    const DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    replay->_path = n > 0 && n < MAX_PATH ? std::string(full, n) : path;
    if (!LoadRecording(replay->_path, &replay->_calls, error)) {
        return nullptr;
    }
    std::string lastExecute = kTransportStream;
    for (std::size_t i = 0; i < replay->_calls.size(); ++i) {
        const RecordedCall& c = replay->_calls[i];
        std::string stream;
        if (IsTransportStream(c.call.function)) {
            stream = kTransportStream;
        } else if (c.call.function == "k2pGetReturnDataSize") {
            stream = lastExecute;
        } else {
            stream = StreamOf(c.Handle());
            if (c.call.function == "k2pExecuteRemoteEventProcedure") {
                lastExecute = stream;
            }
        }
        replay->_streams[stream].calls.push_back(i);
    }
    return replay;
}

std::string Replay::StreamOf(std::uint32_t handle) {
    return "h=" + kvtrec::Hex8(handle);
}

const RecordedCall* Replay::Match(JournalLine& line, const std::string& stream,
                                  const Query& query) {
    if (_departed) {
        line.Add("replay", std::string("stopped"));
        return nullptr;
    }
    auto found = _streams.find(stream);
    Stream* s = found == _streams.end() ? nullptr : &found->second;
    if (s != nullptr) {
        std::size_t at = s->next;
        bool matched = at < s->calls.size() && query.Matches(_calls[s->calls[at]]);
        // After a failure the product may have left the rest of its step out.
        while (!matched && s->afterFailure && ++at < s->calls.size()) {
            matched = query.Matches(_calls[s->calls[at]]);
        }
        if (matched) {
            const RecordedCall& c = _calls[s->calls[at]];
            s->next = at + 1;
            s->afterFailure = c.status != 0;
            line.Add("rec", static_cast<std::uint64_t>(c.call.line));
            return &c;
        }
    }
    Depart(line, s, query);
    return nullptr;
}

void Replay::Depart(JournalLine& line, const Stream* stream, const Query& query) {
    _departed = true;
    // The nearest call: of the same kind (function, and procedure or block name) next
    // in the stream, else before; else the stream's next call, or its last.
    const RecordedCall* nearest = nullptr;
    if (stream != nullptr && !stream->calls.empty()) {
        const std::size_t count = stream->calls.size();
        for (std::size_t at = stream->next; at < count && nearest == nullptr; ++at) {
            nearest =
                query.SameKind(_calls[stream->calls[at]]) ? &_calls[stream->calls[at]] : nullptr;
        }
        for (std::size_t at = stream->next < count ? stream->next : count;
             at > 0 && nearest == nullptr; --at) {
            nearest = query.SameKind(_calls[stream->calls[at - 1]]) ? &_calls[stream->calls[at - 1]]
                                                                    : nullptr;
        }
        if (nearest == nullptr) {
            nearest = &_calls[stream->calls[stream->next < count ? stream->next : count - 1]];
        }
    }
    for (std::size_t i = 0; i < _calls.size() && nearest == nullptr; ++i) {
        if (query.SameKind(_calls[i])) {
            nearest = &_calls[i];
        }
    }
    line.Add("replay", std::string("departed"))
        .Add("nearest", nearest != nullptr
                            ? std::to_string(nearest->call.line) + ":" + nearest->Call()
                            : std::string("none"));
    const std::string message =
        "KVTItoPTP: " + query.Describe() + " is not in the recording " + _path +
        "; nearest recorded call: " +
        (nearest != nullptr ? "line " + std::to_string(nearest->call.line) + ": " + nearest->Call()
                            : std::string("none")) +
        "\n";
    std::fputs(message.c_str(), stderr);
    std::fflush(stderr);
    ::OutputDebugStringA(message.c_str());
}

void Replay::Answer(const RecordedCall& c, const char* key, unsigned* out) {
    std::uint32_t value = 0;
    if (out != nullptr && c.Number(key, &value)) {
        *out = value;
    }
}

void Replay::JournalCamera(JournalLine& line, std::uint32_t handle) const {
    auto it = _cameraOf.find(handle);
    if (it != _cameraOf.end()) {
        line.Add("cam", static_cast<std::uint64_t>(it->second));
    }
    line.AddHex("h", handle);
}

unsigned Replay::Initialize(JournalLine& line) {
    const RecordedCall* c = Match(line, kTransportStream, Query("k2pInitialize"));
    return c != nullptr ? c->status : kStatusNotRecorded;
}

unsigned Replay::Terminate(JournalLine& line) {
    const RecordedCall* c = Match(line, kTransportStream, Query("k2pTerminate"));
    if (c != nullptr && c->status == kOk) {
        _params.clear();
    }
    return c != nullptr ? c->status : kStatusNotRecorded;
}

unsigned Replay::GetDeviceInfoArray(JournalLine& line, void** deviceInfoArray, unsigned* count) {
    Query query("k2pGetDeviceInfoArray");
    query.Pointer("records", deviceInfoArray).Pointer("count", count);
    const RecordedCall* c = Match(line, kTransportStream, query);
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    Answer(*c, "count", count);
    if (deviceInfoArray != nullptr && c->block.present && !c->block.null) {
        // Every array given out stays valid for the life of the process.
        auto records = std::make_unique<std::string>(static_cast<std::size_t>(c->block.size), '\0');
        if (!c->block.CopyTo(&(*records)[0], c->block.size)) {
            line.Add("replay", std::string("unreadable"));
            return kStatusInternal;
        }
        *deviceInfoArray = &(*records)[0];
        _array = records.get();
        _arrays.push_back(std::move(records));
    }
    if (count != nullptr) {
        line.Add("count", static_cast<std::uint64_t>(*count));
    }
    return c->status;
}

unsigned Replay::ConnectCamera(JournalLine& line, void* deviceInfo, unsigned* hCamera) {
    std::string record = deviceInfo == nullptr ? std::string(kvtrec::kNull) : "other";
    if (deviceInfo != nullptr && _array != nullptr) {
        const char* at = static_cast<const char*>(deviceInfo);
        const std::size_t offset = static_cast<std::size_t>(at - _array->data());
        if (at >= _array->data() && offset < _array->size() &&
            offset % kDeviceInfoRecordSize == 0) {
            record = std::to_string(offset / kDeviceInfoRecordSize);
        }
    }
    Query query("k2pConnectCamera");
    query.Text("record", record).Pointer("h", hCamera);
    const RecordedCall* c = Match(line, kTransportStream, query);
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    Answer(*c, "h", hCamera);
    std::uint32_t index = 0;
    if (c->status == kOk && hCamera != nullptr && kvtrec::ParseU32(record, &index)) {
        _cameraOf[*hCamera] = index;
        line.Add("cam", static_cast<std::uint64_t>(index)).AddHex("h", *hCamera);
    }
    return c->status;
}

unsigned Replay::Clear(JournalLine& line, unsigned hCamera) {
    JournalCamera(line, hCamera);
    const RecordedCall* c =
        Match(line, StreamOf(hCamera),
              Query("k2pClearRemoteEventProcedureParameter").Number("h", hCamera));
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    if (c->status == kOk) {
        _params[hCamera].clear();
    }
    return c->status;
}

unsigned Replay::Push(JournalLine& line, unsigned hCamera, unsigned type, const void* data,
                      unsigned size) {
    JournalCamera(line, hCamera);
    line.Add("type", type).Add("size", size);
    Query query("k2pPushRemoteEventProcedureSendParameter");
    query.Number("h", hCamera).Number("type", type).Number("size", size).Block("data", data, size);
    const RecordedCall* c = Match(line, StreamOf(hCamera), query);
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    if (c->status == kOk && data != nullptr) {
        Param p;
        p.type = type;
        p.data.assign(static_cast<const std::uint8_t*>(data),
                      static_cast<const std::uint8_t*>(data) + size);
        _params[hCamera].push_back(std::move(p));
    }
    return c->status;
}

unsigned Replay::Execute(JournalLine& line, unsigned hCamera, const char* name, unsigned returnData,
                         unsigned* result) {
    JournalCamera(line, hCamera);
    line.AddName("proc", name).Add("flag", returnData).Add("params", ParamsText(_params[hCamera]));
    Query query("k2pExecuteRemoteEventProcedure");
    query.Number("h", hCamera).Name("proc", name).Number("flag", returnData).Pointer("res", result);
    const RecordedCall* c = Match(line, StreamOf(hCamera), query);
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    _lastExecuteStream = StreamOf(hCamera);
    Answer(*c, "res", result);
    std::uint32_t res = 0;
    if (c->Number("res", &res)) {
        line.AddHex("res", res);
    }
    return c->status;
}

unsigned Replay::GetReturnDataSize(JournalLine& line, unsigned* size) {
    const std::string stream = _lastExecuteStream.empty() ? kTransportStream : _lastExecuteStream;
    const RecordedCall* c =
        Match(line, stream, Query("k2pGetReturnDataSize").Pointer("size", size));
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    Answer(*c, "size", size);
    if (size != nullptr) {
        line.Add("size", static_cast<std::uint64_t>(*size));
    }
    return c->status;
}

unsigned Replay::GetReturnData(JournalLine& line, unsigned hCamera, void* buffer, unsigned size,
                               unsigned* copied) {
    return CopyCall(line, "k2pGetReturnDataForExecuteRemoteEventProcedure", "copied", hCamera,
                    buffer, size, copied);
}

unsigned Replay::GetSizeOfMemoryData(JournalLine& line, unsigned hCamera, const char* name,
                                     unsigned* size) {
    JournalCamera(line, hCamera);
    line.AddName("block", name);
    Query query("k2pGetSizeOfMemoryData");
    query.Number("h", hCamera).Name("block", name).Pointer("size", size);
    const RecordedCall* c = Match(line, StreamOf(hCamera), query);
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    Answer(*c, "size", size);
    return c->status;
}

unsigned Replay::GetMemoryData(JournalLine& line, unsigned hCamera, void* buffer, unsigned size,
                               unsigned* read) {
    return CopyCall(line, "k2pExecuteGetMemoryData", "read", hCamera, buffer, size, read);
}

unsigned Replay::CopyCall(JournalLine& line, const char* function, const char* countKey,
                          unsigned hCamera, void* buffer, unsigned size, unsigned* count) {
    JournalCamera(line, hCamera);
    line.Add("size", size);
    Query query(function);
    query.Number("h", hCamera)
        .Number("size", size)
        .Pointer("data", buffer)
        .Pointer(countKey, count);
    const RecordedCall* c = Match(line, StreamOf(hCamera), query);
    if (c == nullptr) {
        return kStatusNotRecorded;
    }
    Answer(*c, countKey, count);
    if (c->status == kOk && buffer != nullptr && c->block.present && !c->block.null &&
        !c->block.CopyTo(buffer, size)) {
        line.Add("replay", std::string("unreadable"));
        return kStatusInternal;
    }
    return c->status;
}

}  // namespace kvtsim
