#include "simulator/camera/ScenarioCamera.h"

#include <cstdio>

#include "simulator/camera/Procedures.h"
#include "simulator/camera/Status.h"
#include "simulator/camera/ValueSyntax.h"

namespace kvtsim {
namespace {
class EntryReader {
public:
    EntryReader(const IniEntry& e, const std::string& baseDir, std::string* error)
        : _e(e), _baseDir(baseDir), _error(error) {}

    bool Fail(const std::string& what) {
        *_error = "line " + std::to_string(_e.line) + ": " + what;
        return false;
    }
    bool U32(std::uint32_t* v) { return ParseU32(_e.value, v) || Fail("'" + _e.value + "' is not a 32-bit number"); }
    bool Flag(bool* v) {
        std::uint32_t n;
        if (!ParseU32(_e.value, &n) || n > 1) {
            return Fail(_e.key + " is 0 or 1");
        }
        *v = n == 1;
        return true;
    }
    bool Value(Bytes* out) {
        std::string why;
        return ParseBytes(_e.value, _baseDir, out, &why) || Fail(why);
    }
    bool KeyU32(std::uint32_t* v) { return ParseU32(_e.key, v) || Fail("'" + _e.key + "' is not a 32-bit number"); }
    bool Key(const char* name) const { return SameName(_e.key, name); }

private:
    const IniEntry& _e;
    const std::string& _baseDir;
    std::string* _error;
};

// "YYYY-MM-DD hh:mm:ss", month 1-12 as people write it.
bool ParseCalendarText(const std::string& text, DateTime* t) {
    int y, mo, d, h, mi, s;
    char tail;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) {
        return false;
    }
    DateTime r;
    r.year = y;
    r.month = mo - 1;
    r.day = d;
    r.hour = h;
    r.minute = mi;
    r.second = s;
    if (!CameraCalendar::Valid(r)) {
        return false;
    }
    *t = r;
    return true;
}

bool MainKey(Camera& c, EntryReader& r, const IniEntry& e) {
    std::uint32_t v;
    Bytes b;
    if (r.Key("Name")) {
        if (e.value.size() > 127) {
            return r.Fail("Name has at most 127 characters");
        }
        c.name = e.value;
        return true;
    }
    if (r.Key("BodyNumber")) {
        std::uint64_t n;
        if (!ParseNumber(e.value, &n)) {
            return r.Fail("BodyNumber is a number");
        }
        Bytes id;
        PutLe32(id, static_cast<std::uint32_t>(n >> 32));  // the high word first
        PutLe32(id, static_cast<std::uint32_t>(n));
        c.SetPublic(kPropBodyId, id);
        return true;
    }
    if (r.Key("ToolMode")) {
        if (!r.U32(&v)) return false;
        Bytes mode;
        PutLe32(mode, v);
        c.SetPublic(kPropToolMode, mode);
        return true;
    }
    if (r.Key("Handle")) {
        if (!r.U32(&v)) return false;
        if (v == 0) {
            return r.Fail("Handle is not 0");
        }
        c.handle = v;
        return true;
    }
    if (r.Key("StrictProperties")) return r.Flag(&c.strictProperties);
    if (r.Key("EepromNeedsPowerSaveOff")) return r.Flag(&c.eepromNeedsPowerSaveOff);
    if (r.Key("PowerSave")) return r.Flag(&c.powerSaveOn);
    if (r.Key("Calendar")) {
        DateTime t;
        if (!ParseCalendarText(e.value, &t)) {
            return r.Fail("Calendar is 'YYYY-MM-DD hh:mm:ss'");
        }
        c.calendar.Set(t);
        return true;
    }
    if (r.Key("CalendarRuns")) {
        bool runs = true;
        if (!r.Flag(&runs)) return false;
        c.calendar.SetRunning(runs);
        return true;
    }
    if (r.Key("CameraLog")) {
        if (!r.Value(&b)) return false;
        c.cameraLog = Share(std::move(b));
        return true;
    }
    for (auto* image : {&c.jpeg, &c.raw}) {
        const char* name = image == &c.jpeg ? "Jpeg" : "Raw";
        if (r.Key(name)) {
            if (!r.Value(&b)) return false;
            image->fixed = Share(std::move(b));
            return true;
        }
        if (SameName(e.key, std::string(name) + "Size")) {
            std::uint64_t n;
            if (!ParseNumber(e.value, &n) || n > kMaxImageBytes) {
                return r.Fail(e.key + " is at most 512 MB");
            }
            image->fixed.reset();
            image->size = n;
            return true;
        }
    }
    if (r.Key("DispDialResult")) return r.U32(&c.dispDialResult);
    if (r.Key("AccTestResult")) return r.U32(&c.accTestResult);
    if (r.Key("SDialTestResult")) return r.U32(&c.sdialTestResult);
    if (r.Key("IcuCheckSum")) return r.U32(&c.icuCheckSum);
    return r.Fail("unknown key '" + e.key + "'");
}

// "Name", "Name.Kind", either with "#n".
bool ProcedureKey(Camera& c, EntryReader& r, const IniEntry& e) {
    std::string name = e.key;
    std::uint64_t nth = 0;
    std::size_t hash = name.find('#');
    if (hash != std::string::npos) {
        if (!ParseNumber(name.substr(hash + 1), &nth) || nth == 0) {
            return r.Fail("a call number is '#1' or more");
        }
        name = name.substr(0, hash);
    }
    RuleKind kind = RuleKind::Result;
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        std::string k = name.substr(dot + 1);
        if (SameName(k, "Result")) kind = RuleKind::Result;
        else if (SameName(k, "Status")) kind = RuleKind::Status;
        else if (SameName(k, "ReturnData")) kind = RuleKind::ReturnData;
        else if (SameName(k, "ExtraBytes")) kind = RuleKind::ExtraBytes;
        else return r.Fail("'" + k + "' is Result, Status, ReturnData or ExtraBytes");
        name = name.substr(0, dot);
    }
    if (name.empty() || name.size() > kMaxNameLength) {
        return r.Fail("a procedure name has 1 to 255 characters");
    }
    std::uint32_t value = 0;
    Bytes data;
    if (kind == RuleKind::ReturnData ? !r.Value(&data) : !r.U32(&value)) {
        return false;
    }
    if (kind == RuleKind::Status && value == 0) {
        c.rules.Remove(name, kind);
    } else {
        c.rules.Add(name, kind, nth, value, Share(std::move(data)));
    }
    if (FindProcedure(name) == nullptr) {
        c.extraProcedures.insert(name);
    }
    return true;
}
}  // namespace

bool ApplyCameraEntry(Camera& c, const std::string& sub, const IniEntry& e,
                      const std::string& baseDir, std::string* error) {
    EntryReader r(e, baseDir, error);
    std::uint32_t key, v;
    Bytes b;
    if (sub.empty()) {
        return MainKey(c, r, e);
    }
    for (unsigned s = 0; s < kSpaceCount; ++s) {
        static const char* const names[kSpaceCount] = {"Public", "Private", "Adapter"};
        if (SameName(sub, names[s])) {
            if (!r.KeyU32(&key) || !r.Value(&b)) return false;
            SharedBytes shared = Share(std::move(b));
            c.spaces[s].SetCurrent(key, shared);
            c.spaces[s].SetSaved(key, shared);
            return true;
        }
    }
    for (unsigned cpu = 0; cpu < kCpuKinds; ++cpu) {
        if (SameName(sub, "Memory" + std::to_string(cpu))) {
            if (!r.KeyU32(&key) || !r.Value(&b)) return false;
            return c.memory[cpu].Write(key, b.data(), b.size()) ||
                   r.Fail("the bytes run past the end of the address space");
        }
    }
    if (SameName(sub, "Eeprom")) {
        if (!r.KeyU32(&key) || !r.U32(&v)) return false;
        if (key >= kEepromWords || v > 0xFFFF) {
            return r.Fail("EEPROM addresses are 0 to 127, words 0 to 0xFFFF");
        }
        c.eeprom[key] = static_cast<std::uint16_t>(v);
        return true;
    }
    if (SameName(sub, "MemoryData")) {
        if (e.key.size() > kMaxNameLength) {
            return r.Fail("a block name has at most 255 characters");
        }
        if (!r.Value(&b)) return false;
        c.memoryData[e.key] = Share(std::move(b));
        return true;
    }
    if (SameName(sub, "DigitalOffsets")) {
        std::size_t colon = e.key.find(':');
        std::uint32_t id;
        if (colon == std::string::npos || !ParseU32(e.key.substr(0, colon), &id)) {
            return r.Fail("a digital offset key is '<property id>:<item name>'");
        }
        if (!r.U32(&v)) return false;
        c.digitalOffsets[{id, e.key.substr(colon + 1)}] = v;
        return true;
    }
    if (SameName(sub, "Procedures")) {
        return ProcedureKey(c, r, e);
    }
    return r.Fail("unknown section [Camera" + std::to_string(c.index) + "." + sub + "]");
}

}  // namespace kvtsim
