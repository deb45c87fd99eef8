#include "robustness/BadInput.h"

#include <cstdint>
#include <cstring>
#include <functional>

#include "plugins/pellor/DataRecords.h"
#include "robustness/GuardedBuffer.h"
#include "robustness/ProcedureShapes.h"
#include "robustness/Sequences.h"

namespace robust {
namespace {

// What a case must return: exactly a code, or any failure ("refused": nonzero and
// odd), or anything that is a clear code ("any": 0 or odd).
struct Expect {
    enum Kind { Code, Refused, Any } kind;
    unsigned long code;
};
constexpr Expect Is(unsigned long code) { return {Expect::Code, code}; }
constexpr Expect kRefused{Expect::Refused, 0};
constexpr Expect kAny{Expect::Any, 0};

std::string Describe(const Expect& e) {
    switch (e.kind) {
        case Expect::Code: return std::to_string(e.code);
        case Expect::Refused: return "refused";
        default: return "any";
    }
}

void Case(const std::string& group, const std::string& label, const Expect& expect,
          const std::function<unsigned long()>& call) {
    Emit("case " + group + " " + label);
    const unsigned long result = call();
    Emit("got " + group + " " + label + " = " + std::to_string(result) + " expect=" + Describe(expect));
}

// Names and paths at and around the sizes the library's fixed fields hold.
const std::size_t kNameLengths[] = {63, 64, 127, 128, 129, 260, 1000, 70000};
const std::size_t kPathLengths[] = {259, 260, 261, 300, 1000, 40000};

std::string Letters(std::size_t n, char c) {
    return std::string(n, c);
}

void BeforeOpen(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "closed";
    GuardedBuffer body(20);
    Case(g, "ExecuteEventProc.GetBodyID", Is(29), [&] { return api.executeEventProc("GetBodyID", body.Data()); });
    Case(g, "ExecuteEventProcS.null-name", Is(29), [&] { return api.executeEventProcS(nullptr, body.Data(), 20); });
    Case(g, "LoadProperty.null", Is(29), [&] { return api.loadProperty(nullptr, nullptr); });
    Case(g, "SaveProperty.null", Is(29), [&] { return api.saveProperty(nullptr, nullptr); });
    Case(g, "ReleaseAndTransfer.null", Is(29), [&] { return api.releaseAndTransfer(nullptr); });
    Case(g, "CloseDevice", Is(0), [&] { return api.closeDevice(); });
}

void ExecuteCases(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "execute";
    GuardedBuffer none(0);
    Case(g, "null-name", kRefused, [&] { return api.executeEventProc(nullptr, none.Data()); });
    Case(g, "S.null-name", kRefused, [&] { return api.executeEventProcS(nullptr, none.Data(), 0); });
    Case(g, "empty-name", Is(35), [&] { return api.executeEventProc(GuardedBuffer::Text("").Chars(), none.Data()); });
    for (const std::size_t n : kNameLengths) {
        const GuardedBuffer name = GuardedBuffer::Text(Letters(n, 'N'));
        Case(g, "name-" + std::to_string(n), kRefused, [&] { return api.executeEventProc(name.Chars(), none.Data()); });
        Case(g, "S.name-" + std::to_string(n), kRefused,
             [&] { return api.executeEventProcS(name.Chars(), none.Data(), 0); });
    }
    // A registered name followed by more letters up to the name block's size.
    const GuardedBuffer longer = GuardedBuffer::Text("GetBodyID" + Letters(119, 'x'));
    Case(g, "registered-prefix-128", Is(3), [&] { return api.executeEventProc(longer.Chars(), none.Data()); });

    // GetBodyID is registered with 20 bytes, out.
    const GuardedBuffer name = GuardedBuffer::Text("GetBodyID");
    GuardedBuffer body(sizeof(pellor::BODYID_T));
    Case(g, "GetBodyID.exact", Is(0), [&] { return api.executeEventProcS(name.Chars(), body.Data(), 20); });
    for (const unsigned long size : {0ul, 19ul, 21ul, 0xFFFFFFFFul}) {
        Case(g, "GetBodyID.size-" + std::to_string(size), Is(3),
             [&] { return api.executeEventProcS(name.Chars(), body.Data(), size); });
    }
    Case(g, "GetBodyID.null", Is(3), [&] { return api.executeEventProc(name.Chars(), nullptr); });
    Case(g, "GetBodyID.S-null", Is(3), [&] { return api.executeEventProcS(name.Chars(), nullptr, 20); });
}

void MonitorCases(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "monitor";
    GuardedBuffer none(0), sixteen(16);
    Case(g, "read-no-session", kRefused, [&] { return api.monitorReadMemory(0x1000, 16, sixteen.Data()); });
    Case(g, "read-no-session-null", kRefused, [&] { return api.monitorReadMemory(0x1000, 16, nullptr); });
    Case(g, "write-no-session", kRefused, [&] { return api.monitorWriteMemory(0x1000, 16, sixteen.Data()); });
    Case(g, "call-no-session", kRefused, [&] { return api.monitorCallFunction(3); });
    Case(g, "close-no-session", Is(0), [&] { return api.monitorCloseSession(); });
    Case(g, "bank-no-session", Is(35), [&] { return api.monitorChangeBank(0xEE); });
    Case(g, "open", Is(0), [&] { return api.monitorOpenSession(); });
    Case(g, "bank-0xD0", Is(3), [&] { return api.monitorChangeBank(0xD0); });
    Case(g, "bank-max", Is(3), [&] { return api.monitorChangeBank(0xFFFFFFFF); });
    Case(g, "read-no-bank", Is(3), [&] { return api.monitorReadMemory(0x1000, 16, sixteen.Data()); });
    Case(g, "bank-0xEE", Is(0), [&] { return api.monitorChangeBank(0xEE); });
    Case(g, "read-exact", Is(0), [&] { return api.monitorReadMemory(0x1000, 16, sixteen.Data()); });
    Case(g, "read-null", Is(3), [&] { return api.monitorReadMemory(0x1000, 16, nullptr); });
    Case(g, "read-zero", kAny, [&] { return api.monitorReadMemory(0x1000, 0, none.Data()); });
    Case(g, "read-zero-null", kAny, [&] { return api.monitorReadMemory(0x1000, 0, nullptr); });
    // Ranges the camera refuses (past the end of the address space, above its maximum
    // size) deliver nothing: the caller must not get a success with an unfilled buffer.
    Case(g, "read-past-4GB", Is(35), [&] { return api.monitorReadMemory(0xFFFFFFF8, 16, sixteen.Data()); });
    Case(g, "read-size-max", Is(35), [&] { return api.monitorReadMemory(0x1000, 0xFFFFFFFF, sixteen.Data()); });
    Case(g, "read-size-64MB+1", Is(35), [&] { return api.monitorReadMemory(0x1000, 0x4000001, sixteen.Data()); });
    // A camera that returns more, or fewer, bytes than were asked for.
    ctx.sim->Apply("[Camera0.Procedures]\nMonReadAndGetData.ExtraBytes = 16\n");
    Case(g, "read-camera-oversends", Is(35), [&] { return api.monitorReadMemory(0x1000, 16, sixteen.Data()); });
    ctx.sim->Load(BaseScenario() + "[Camera0.Procedures]\nMonReadAndGetData.ReturnData = 01 02 03\n");
    Case(g, "read-camera-short", Is(35), [&] { return api.monitorReadMemory(0x1000, 16, sixteen.Data()); });
    ctx.sim->Load(BaseScenario());
    Case(g, "write-exact", Is(0), [&] { return api.monitorWriteMemory(0x1000, 16, sixteen.Data()); });
    Case(g, "write-null", Is(3), [&] { return api.monitorWriteMemory(0x1000, 16, nullptr); });
    Case(g, "write-zero", kAny, [&] { return api.monitorWriteMemory(0x1000, 0, none.Data()); });
    Case(g, "call-max", kAny, [&] { return api.monitorCallFunction(0xFFFFFFFF); });
    Case(g, "close", Is(0), [&] { return api.monitorCloseSession(); });
    Case(g, "close-again", Is(0), [&] { return api.monitorCloseSession(); });
}

void ReleaseParameterCases(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "release-parameter";
    Case(g, "Set.null", Is(3), [&] { return api.setReleaseParameter(nullptr); });
    Case(g, "Get.null", Is(3), [&] { return api.getReleaseParameter(nullptr); });
    Case(g, "SetEx.null", Is(3), [&] { return api.setReleaseParameterEx(nullptr); });
    Case(g, "GetEx.null", Is(3), [&] { return api.getReleaseParameterEx(nullptr); });
    Case(g, "SetS.null", Is(3), [&] { return api.setReleaseParameterS(nullptr, 0); });
    Case(g, "GetS.null", Is(3), [&] { return api.getReleaseParameterS(nullptr, 0); });
    GuardedBuffer record(sizeof(ReleaseParameter));
    auto* r = reinterpret_cast<ReleaseParameter*>(record.Data());
    Case(g, "Get.exact", Is(0), [&] { return api.getReleaseParameter(r); });
    Case(g, "GetEx.exact", Is(0), [&] { return api.getReleaseParameterEx(r); });
    Case(g, "GetS.slot-1-of-1", kRefused, [&] { return api.getReleaseParameterS(r, 1); });
    Case(g, "GetS.slot-max", kRefused, [&] { return api.getReleaseParameterS(r, 0xFFFFFFFF); });
    record.Fill(0xFF);
    Case(g, "Set.all-ones", kAny, [&] { return api.setReleaseParameter(r); });
    Case(g, "SetS.slot-max", kRefused, [&] { return api.setReleaseParameterS(r, 0xFFFFFFFF); });
}

void ReleaseCases(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "release";
    ctx.sim->Load(BaseScenario());   // the quality code again (the all-ones record changed it)
    Case(g, "null", Is(3), [&] { return api.releaseAndTransfer(nullptr); });
    Case(g, "S.null", Is(3), [&] { return api.releaseAndTransferS(nullptr, 0); });
    Case(g, "MVT.null", Is(3), [&] { return api.mvtReleaseAndTransfer(nullptr); });
    const GuardedBuffer shot = GuardedBuffer::Text("shot");
    Case(g, "exact", Is(0), [&] { return api.releaseAndTransfer(shot.Chars()); });
    Case(g, "S.slot-max", kRefused, [&] { return api.releaseAndTransferS(shot.Chars(), 0xFFFFFFFF); });
    Case(g, "S.slot-1-of-1", kRefused, [&] { return api.releaseAndTransferS(shot.Chars(), 1); });
    Case(g, "empty", kAny, [&] { return api.releaseAndTransfer(GuardedBuffer::Text("").Chars()); });
    for (const std::size_t n : kPathLengths) {
        const GuardedBuffer path = GuardedBuffer::Text(Letters(n, 'p'));
        Case(g, "path-" + std::to_string(n), kAny, [&] { return api.releaseAndTransfer(path.Chars()); });
        Case(g, "MVT.path-" + std::to_string(n), kAny, [&] { return api.mvtReleaseAndTransfer(path.Chars()); });
    }
}

void PropertyFileCases(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "property-file";
    const GuardedBuffer name = GuardedBuffer::Text("PROP_FILE_PREFIX");
    const GuardedBuffer file = GuardedBuffer::Text("prefix.bin");
    Case(g, "Load.null-name", Is(3), [&] { return api.loadProperty(nullptr, file.Chars()); });
    Case(g, "Load.null-path", Is(3), [&] { return api.loadProperty(name.Chars(), nullptr); });
    Case(g, "Save.null-name", Is(3), [&] { return api.saveProperty(nullptr, file.Chars()); });
    Case(g, "Save.null-path", Is(3), [&] { return api.saveProperty(name.Chars(), nullptr); });
    Case(g, "Load.exact", Is(0), [&] { return api.loadProperty(name.Chars(), file.Chars()); });
    Case(g, "Save.exact", Is(0), [&] { return api.saveProperty(name.Chars(), file.Chars()); });
    Case(g, "Save.missing-file", kRefused,
         [&] { return api.saveProperty(name.Chars(), GuardedBuffer::Text("missing.bin").Chars()); });
    Case(g, "Load.empty-name", kRefused, [&] { return api.loadProperty(GuardedBuffer::Text("").Chars(), file.Chars()); });
    Case(g, "Load.empty-path", kRefused, [&] { return api.loadProperty(name.Chars(), GuardedBuffer::Text("").Chars()); });
    for (const std::size_t n : kNameLengths) {
        const GuardedBuffer longName = GuardedBuffer::Text(Letters(n, 'N'));
        Case(g, "Load.name-" + std::to_string(n), kRefused, [&] { return api.loadProperty(longName.Chars(), file.Chars()); });
        Case(g, "Save.name-" + std::to_string(n), kRefused, [&] { return api.saveProperty(longName.Chars(), file.Chars()); });
    }
    // The catalogue name followed by letters: the part that fits must not be matched.
    const GuardedBuffer prefixed = GuardedBuffer::Text("PROP_FILE_PREFIX" + Letters(64, 'x'));
    Case(g, "Load.catalogue-name-prefix-80", kRefused, [&] { return api.loadProperty(prefixed.Chars(), file.Chars()); });
    for (const std::size_t n : kPathLengths) {
        const GuardedBuffer path = GuardedBuffer::Text(Letters(n, 'p'));
        Case(g, "Load.path-" + std::to_string(n), kAny, [&] { return api.loadProperty(name.Chars(), path.Chars()); });
        Case(g, "Save.path-" + std::to_string(n), kAny, [&] { return api.saveProperty(name.Chars(), path.Chars()); });
    }
}

void PathCases(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "path";
    Case(g, "SetFilePath.null", Is(3), [&] { return api.setFilePath(nullptr); });
    Case(g, "SetFolderPath.null", Is(3), [&] { return api.setFolderPath(nullptr); });
    Case(g, "SetFilePath.empty", Is(0), [&] { return api.setFilePath(GuardedBuffer::Text("").Chars()); });
    for (const std::size_t n : kPathLengths) {
        const GuardedBuffer path = GuardedBuffer::Text(Letters(n, 'f'));
        const Expect e = n <= 260 ? Is(0) : kRefused;   // the blocks hold 260 characters
        Case(g, "SetFilePath." + std::to_string(n), e, [&] { return api.setFilePath(path.Chars()); });
        Case(g, "SetFolderPath." + std::to_string(n), e, [&] { return api.setFolderPath(path.Chars()); });
    }
    Case(g, "DeleteFilePath", Is(0), [&] { return api.deleteFilePath(); });
    Case(g, "DeleteFolderPath", Is(0), [&] { return api.deleteFolderPath(); });
    Case(g, "Debug", kAny, [&] { return api.debug(); });
}

void ExportCases(DriverContext& ctx) {
    BeforeOpen(ctx);
    Case("device", "OpenDevice", Is(0), [&] { return ctx.api.openDevice(); });
    Case("device", "OpenDevice.again", Is(0), [&] { return ctx.api.openDevice(); });
    ExecuteCases(ctx);
    MonitorCases(ctx);
    ReleaseParameterCases(ctx);
    ReleaseCases(ctx);
    PropertyFileCases(ctx);
    PathCases(ctx);
    Case("device", "CloseDevice", Is(0), [&] { return ctx.api.closeDevice(); });
    Case("device", "CloseDevice.again", Is(0), [&] { return ctx.api.closeDevice(); });
}

// Every documented procedure: a null parameter, exactly the documented size (zeros),
// and for procedures that read the caller's bytes the same size filled with garbage
// (no terminating zero in a text, all-ones counts and addresses).
void ProcedureCases(DriverContext& ctx, const std::string& listPath) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string g = "procedure";
    // LoadPropertyData writes its files into the folder block's folder.
    ::CreateDirectoryA((ctx.folder + "Adjust").c_str(), nullptr);
    api.setFolderPath((ctx.folder + "Adjust\\").c_str());
    Case("device", "OpenDevice", Is(0), [&] { return api.openDevice(); });
    const std::vector<ProcedureShape> shapes = ReadProcedureShapes(listPath, 4);   // BoardInf Size=4
    Emit("procedures " + std::to_string(shapes.size()));
    for (const ProcedureShape& s : shapes) {
        if (!s.known) {
            Emit("unknown shape " + s.name + " | " + s.parameter);
            continue;
        }
        const GuardedBuffer name = GuardedBuffer::Text(s.name);
        const unsigned long size = static_cast<unsigned long>(s.size);
        Case(g, s.name + ".null", s.size == 0 ? kAny : kRefused,
             [&] { return api.executeEventProc(name.Chars(), nullptr); });
        GuardedBuffer exact(s.size);
        Case(g, s.name + ".exact", kAny, [&] { return api.executeEventProcS(name.Chars(), exact.Data(), size); });
        if (s.in) {
            for (const unsigned fill : {0xFFu, 0x41u}) {   // all ones; letters "A"
                exact.Fill(static_cast<unsigned char>(fill));
                Case(g, s.name + ".fill-" + std::to_string(fill), kAny,
                     [&] { return api.executeEventProcS(name.Chars(), exact.Data(), size); });
            }
        }
    }
    // A-board EEPROM ranges whose end wraps around 32 bits or passes the last word.
    const GuardedBuffer getName = GuardedBuffer::Text("GetABoardEepromData");
    const GuardedBuffer setName = GuardedBuffer::Text("SetABoardEepromData");
    GuardedBuffer eeprom(sizeof(pellor::ABOARD_EEPROM_DATA_T));
    auto* record = reinterpret_cast<pellor::ABOARD_EEPROM_DATA_T*>(eeprom.Data());
    const std::uint32_t ranges[][2] = {{0xFFFFFFFF, 2}, {2, 0xFFFFFFFF}, {127, 2}, {128, 0}, {0, 129}, {0x80000000, 0x80000001}};
    for (const auto& range : ranges) {
        record->Address = range[0];
        record->Count = range[1];
        const std::string label = std::to_string(range[0]) + "+" + std::to_string(range[1]);
        const Expect e = range[1] == 0 ? kAny : Is(3);
        Case(g, "GetABoardEepromData.range-" + label, e,
             [&] { return api.executeEventProcS(getName.Chars(), eeprom.Data(), 0); });
        Case(g, "SetABoardEepromData.range-" + label, e,
             [&] { return api.executeEventProcS(setName.Chars(), eeprom.Data(), 0); });
    }
}

}  // namespace

int RunBadInput(DriverContext& ctx, const std::vector<std::string>& args) {
    if (!ctx.sim->Load(BaseScenario())) {
        Emit("scenario refused " + ctx.sim->Error());
        return 1;
    }
    const std::string group = args.empty() ? std::string() : args[0];
    if (group.empty() || group == "exports") {
        ExportCases(ctx);
    }
    if ((group.empty() || group == "procedures") && args.size() >= 2) {
        ProcedureCases(ctx, args[1]);
    }
    Emit("done");
    return 0;
}

}  // namespace robust
