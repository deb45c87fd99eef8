#include "support/SimCamera.h"

#include <cstdio>

#include "common/HexDigit.h"
#include "common/Win32.h"
#include "support/TestSupport.h"

namespace kvttest {
namespace {
using kvt::HexDigit;

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1]));
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 &&
            HexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<SimParam> ParseParams(const std::string& text) {
    std::vector<SimParam> params;
    if (text.empty() || text == "-") {
        return params;
    }
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t comma = text.find(',', pos);
        std::string item = text.substr(pos, comma == std::string::npos ? std::string::npos
                                                                       : comma - pos);
        std::size_t colon = item.find(':');
        SimParam p;
        p.type = static_cast<unsigned>(std::stoul(item.substr(0, colon)));
        p.bytes = FromHex(colon == std::string::npos ? std::string() : item.substr(colon + 1));
        params.push_back(p);
        if (comma == std::string::npos) {
            break;
        }
        pos = comma + 1;
    }
    return params;
}

std::string TraceParam(const SimParam& p) {
    char buf[16];
    if (p.type != 4) {
        std::uint32_t v = p.U32();
        std::snprintf(buf, sizeof(buf), v < 65536 ? "%u" : "0x%08x", v);
        return buf;
    }
    const std::string& b = p.bytes;
    bool text = !b.empty() && b.back() == '\0';
    for (std::size_t i = 0; text && i + 1 < b.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(b[i]);
        text = c >= ' ' && c <= '~';
    }
    if (text) {
        return "\"" + b.substr(0, b.size() - 1) + "\"";
    }
    std::string hex = "[";
    for (unsigned char c : b) {
        std::snprintf(buf, sizeof(buf), "%02x", c);
        hex += buf;
    }
    return hex + "]";
}

template <class F>
void Bind(HMODULE m, const char* name, F* f, bool* ok) {
    *f = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(m, name)));
    *ok = *ok && *f != nullptr;
}
}  // namespace

std::uint32_t SimParam::U32() const {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return v;
}

std::string SimParam::Text() const {
    return bytes.substr(0, bytes.find('\0'));
}

std::string SimCall::Field(const std::string& key) const {
    auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

std::vector<SimCall> ParseSimJournal(const std::string& text) {
    std::vector<SimCall> calls;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::size_t blank = line.find(' ');
        std::size_t colon = line.find(':');
        if (line.empty() || blank == std::string::npos || colon == std::string::npos ||
            colon > blank) {
            continue;
        }
        SimCall c;
        c.pid = static_cast<unsigned>(std::stoul(line.substr(0, colon)));
        c.seq = static_cast<unsigned>(std::stoul(line.substr(colon + 1, blank - colon - 1)));
        std::size_t at = blank + 1;
        std::size_t next = line.find(' ', at);
        c.function = line.substr(at, next == std::string::npos ? std::string::npos : next - at);
        while (next != std::string::npos) {
            at = next + 1;
            next = line.find(' ', at);
            std::string kv = line.substr(at, next == std::string::npos ? std::string::npos : next - at);
            std::size_t eq = kv.find('=');
            if (eq != std::string::npos) {
                c.fields[kv.substr(0, eq)] = kv.substr(eq + 1);
            }
        }
        if (!c.Field("cam").empty()) c.camera = std::stoi(c.Field("cam"));
        if (!c.Field("flag").empty()) c.flag = std::stoi(c.Field("flag"));
        if (!c.Field("st").empty()) c.status = static_cast<unsigned>(std::stoul(c.Field("st")));
        if (!c.Field("res").empty()) c.result = static_cast<std::uint32_t>(std::stoul(c.Field("res"), nullptr, 16));
        c.procedure = Unescape(c.Field("proc"));
        c.params = ParseParams(c.Field("params"));
        c.injected = c.Field("inj") == "1";
        calls.push_back(std::move(c));
    }
    return calls;
}

std::vector<SimCall> SimExecutes(const std::vector<SimCall>& calls, const std::string& procedure) {
    std::vector<SimCall> out;
    for (const SimCall& c : calls) {
        if (c.IsExecute() && (procedure.empty() || c.procedure == procedure)) {
            out.push_back(c);
        }
    }
    return out;
}

std::string SimTrace(const std::vector<SimCall>& calls) {
    std::string trace;
    for (const SimCall& c : SimExecutes(calls)) {
        if (!trace.empty()) {
            trace += ' ';
        }
        trace += c.procedure + "(";
        for (std::size_t i = 0; i < c.params.size(); ++i) {
            trace += (i ? "," : "") + TraceParam(c.params[i]);
        }
        trace += ")";
    }
    return trace;
}

std::vector<SimCall> ReadSimJournalFile(const std::string& path) {
    return ParseSimJournal(ReadFileBytes(path));
}

SimCamera::SimCamera() {
    HMODULE m = ::GetModuleHandleA("KVTItoPTP.dll");
    if (m == nullptr) {
        m = ::LoadLibraryA((BinDir() + "KVTItoPTP.dll").c_str());  // stays loaded
    }
    BindAll(m);
}

SimCamera::SimCamera(HMODULE library) {
    BindAll(library);
}

void SimCamera::BindAll(HMODULE m) {
    if (m == nullptr) {
        return;
    }
    bool ok = true;
    Bind(m, "kvtsim_LoadScenarioText", &_load, &ok);
    Bind(m, "kvtsim_ApplyScenarioText", &_apply, &ok);
    Bind(m, "kvtsim_Reset", &_reset, &ok);
    Bind(m, "kvtsim_ScenarioError", &_error, &ok);
    Bind(m, "kvtsim_JournalText", &_journal, &ok);
    Bind(m, "kvtsim_ClearJournal", &_clearJournal, &ok);
    Bind(m, "kvtsim_SetFault", &_setFault, &ok);
    Bind(m, "kvtsim_CallCount", &_callCount, &ok);
    Bind(m, "kvtsim_GetProperty", &_getProperty, &ok);
    Bind(m, "kvtsim_SetProperty", &_setProperty, &ok);
    Bind(m, "kvtsim_GetMemory", &_getMemory, &ok);
    Bind(m, "kvtsim_SetMemory", &_setMemory, &ok);
    Bind(m, "kvtsim_GetState", &_getState, &ok);
    Bind(m, "kvtsim_GetReleaseImage", &_getReleaseImage, &ok);
    _ok = ok;
}

bool SimCamera::Load(const std::string& text) { return _ok && _load(text.c_str()) == 0; }
bool SimCamera::Apply(const std::string& text) { return _ok && _apply(text.c_str()) == 0; }
bool SimCamera::Reset() { return _ok && _reset() == 0; }

std::string SimCamera::Error() const {
    if (!_ok) return "KVTItoPTP.dll not bound";
    std::string s(_error(nullptr, 0) + 1, '\0');
    _error(&s[0], static_cast<unsigned>(s.size()));
    s.pop_back();
    return s;
}

std::string SimCamera::JournalText() const {
    if (!_ok) return std::string();
    for (;;) {
        unsigned needed = 0;
        _journal(nullptr, 0, &needed);
        std::string s(needed + 1, '\0');
        if (_journal(&s[0], static_cast<unsigned>(s.size()), &needed) == 0) {
            s.resize(needed);
            return s;
        }
    }
}

void SimCamera::ClearJournal() const {
    if (_ok) _clearJournal();
}

bool SimCamera::SetFault(const std::string& function, unsigned nth, unsigned status) const {
    return _ok && _setFault(function.c_str(), nth, status) == 0;
}

bool SimCamera::ForceResult(unsigned camera, const std::string& procedure, unsigned nth,
                            std::uint32_t result) {
    std::string key = procedure + ".Result" + (nth ? "#" + std::to_string(nth) : "");
    return Apply("[Camera" + std::to_string(camera) + ".Procedures]\n" + key + " = " +
                 std::to_string(result) + "\n");
}

unsigned SimCamera::CallCount(unsigned camera, const std::string& name) const {
    return _ok ? _callCount(camera, name.c_str()) : 0;
}

std::string SimCamera::Property(unsigned camera, unsigned space, std::uint32_t id,
                                bool stored) const {
    unsigned actual = 0;
    if (!_ok || _getProperty(camera, space, stored, id, nullptr, 0, &actual) != 0) {
        return std::string();
    }
    std::string s(actual, '\0');
    _getProperty(camera, space, stored, id, &s[0], actual, &actual);
    return s;
}

bool SimCamera::SetProperty(unsigned camera, unsigned space, std::uint32_t id,
                            const std::string& bytes) const {
    return _ok && _setProperty(camera, space, 0, id, bytes.data(),
                               static_cast<unsigned>(bytes.size())) == 0;
}

std::string SimCamera::Memory(unsigned camera, unsigned cpuKind, std::uint32_t address,
                              unsigned size) const {
    std::string s(size, '\0');
    if (!_ok || _getMemory(camera, cpuKind, address, &s[0], size) != 0) {
        return std::string();
    }
    return s;
}

bool SimCamera::SetMemory(unsigned camera, unsigned cpuKind, std::uint32_t address,
                          const std::string& bytes) const {
    return _ok && _setMemory(camera, cpuKind, address, bytes.data(),
                             static_cast<unsigned>(bytes.size())) == 0;
}

unsigned SimCamera::State(unsigned camera, const std::string& name, unsigned fallback) const {
    unsigned v = 0;
    return _ok && _getState(camera, name.c_str(), &v) == 0 ? v : fallback;
}

std::string SimCamera::ReleaseImage(unsigned camera, unsigned index) const {
    unsigned needed = 0;
    if (!_ok || _getReleaseImage(camera, index, nullptr, 0, &needed) != 0) {
        return std::string();
    }
    std::string s(needed, '\0');
    _getReleaseImage(camera, index, &s[0], needed, &needed);
    return s;
}

}  // namespace kvttest
