// kvt info: a summary of the attached camera. The counters are read with TavolInfo's
// model table, formulas and readout (console/, shared, not copied).
#include <cstdint>
#include <cstring>

#include "console/CounterReadout.h"
#include "console/ModelTable.h"
#include "include/kvt_factory.h"
#include "tools/kvt/Commands.h"
#include "tools/kvt/FieldPrinter.h"
#include "tools/kvt/ResultCodes.h"
#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

// The firmware versions: 36-byte records shown as their text, or a 32-bit word whose
// lowest byte is the version.
struct VersionItem {
    const char* key;
    const char* label;
    const char* procedure;
    bool record;
};
const VersionItem kVersions[] = {
    {"icu", "ICU firmware", "GetIcuFirmwareVersion", true},
    {"icuMaster", "ICU master", "GetIcuMasterVersion", true},
    {"icuSlave", "ICU slave", "GetIcuSlaveVersion", true},
    {"mpu", "MPU", "GetMpuFirmwareVersion", false},
    {"fpu", "FPU", "GetFpuVersion", false},
    {"tpu", "TPU", "GetTpuVersion", false},
    {"bp", "BP", "GetBpVersion", false},
    {"eeprom", "EEPROM", "GetEepromVersion", false},
};

std::uint32_t U32Of(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// A firmware record as text when it is one, else as hex.
std::string RecordText(const std::string& bytes) {
    const std::string text = TextOf(bytes, 0, bytes.size());
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F) {
            return HexText(bytes, true);
        }
    }
    return text;
}

class Summary {
public:
    Summary(const kvttools::FactoryExports& api, Output& out) : _api(api), _out(out) {}

    // Runs a procedure into `bytes`; a failure is shown on the line of `label`.
    bool Execute(const char* procedure, std::string& bytes, const char* label) {
        const unsigned long result = _api.executeEventProcS(procedure, &bytes[0],
                                                            static_cast<unsigned long>(bytes.size()));
        if (result != KVT_OK) {
            Failed(procedure, result, label);
        }
        return result == KVT_OK;
    }

    void Failed(const std::string& step, unsigned long code, const char* label) {
        _failures.push_back(Failure{step, code});
        Line(label, step + " failed with " + DescribeResult(code));
    }

    void Line(const char* label, const std::string& value) const {
        _out.Textf("%-15s %s\n", label, value.c_str());
    }

    void Cameras() {
        // The factory API has no camera count: a slot the library does not have is
        // refused with KVT_E_ARGUMENT before anything is sent to a camera.
        ReleaseParameter probe;
        std::memset(&probe, 0, sizeof(probe));
        const unsigned long second = _api.getReleaseParameterS(&probe, 1);
        if (second != KVT_OK && second != KVT_E_ARGUMENT) {
            Failed("KVT_GetReleaseParameterS", second, "Cameras");
            return;
        }
        const bool two = second == KVT_OK;
        if (_out.Json()) {
            _out.Doc().Key("cameras").BeginObject().Member("count", two ? 2 : 1).Key("toolMode");
            if (two) {
                _out.Doc().Integer(0);
            } else {
                _out.Doc().Null();
            }
            _out.Doc().EndObject();
        }
        // With two cameras the library made the one in tool mode slot 0.
        Line("Cameras", two ? "2 (camera 0 is in tool mode)" : "1 (tool mode is checked with two cameras only)");
    }

    void Body() {
        std::string bytes(sizeof(BODYID_T), '\0');
        if (!Execute("GetBodyID", bytes, "Body number")) {
            return;
        }
        BODYID_T id;
        std::memcpy(&id, bytes.data(), sizeof(id));
        const std::uint64_t number = id.ManufactureMonth * 10000000000ull + id.Second * 100000000ull +
                                     id.Third * 10000000ull + id.Fourth * 1000000ull + id.SerialNo;
        if (_out.Json()) {
            _out.Doc().Member("bodyNumber", number);
            PrintFields(_out, *FindRecordLayout("BODYID_T"), bytes, "bodyId");
        }
        Line("Body number", Format("%llu (ManufactureMonth %lu, Second %lu, Third %lu, Fourth %lu, SerialNo %lu)",
                                   static_cast<unsigned long long>(number),
                                   static_cast<unsigned long>(id.ManufactureMonth),
                                   static_cast<unsigned long>(id.Second), static_cast<unsigned long>(id.Third),
                                   static_cast<unsigned long>(id.Fourth),
                                   static_cast<unsigned long>(id.SerialNo)));
    }

    void Firmware() {
        if (_out.Json()) {
            _out.Doc().Key("firmware").BeginObject();
        }
        for (const VersionItem& item : kVersions) {
            std::string bytes(item.record ? KVT_FIRMWARE_VERSION_SIZE : 4, '\0');
            if (!Execute(item.procedure, bytes, item.label)) {
                continue;
            }
            if (item.record) {
                const std::string text = RecordText(bytes);
                if (_out.Json()) {
                    _out.Doc().Member(item.key, text);
                }
                Line(item.label, text);
            } else {
                const unsigned version = U32Of(reinterpret_cast<const unsigned char*>(bytes.data())) & 0xFFu;
                if (_out.Json()) {
                    _out.Doc().Member(item.key, version);
                }
                Line(item.label, std::to_string(version));
            }
        }
        if (_out.Json()) {
            _out.Doc().EndObject();
        }
    }

    void FactoryMode() {
        std::string bytes(4, '\0');
        if (!Execute("GetFactoryModeState", bytes, "Factory mode")) {
            return;
        }
        const std::uint32_t flag = U32Of(reinterpret_cast<const unsigned char*>(bytes.data()));
        if (_out.Json()) {
            _out.Doc().Member("factoryMode", flag == 0).Member("tuningFlag", flag);
        }
        Line("Factory mode", Format("%s (tuning flag 0x%08lx)", flag == 0 ? "yes" : "no",
                                    static_cast<unsigned long>(flag)));
    }

    // TavolInfo's readout: the model's addresses, its own device and session.
    void Counters(const std::string& model) {
        const char* name = model.empty() ? nullptr : model.c_str();
        const tavol::ModelChoice choice = tavol::ChooseModel(name);
        std::string described = model.empty() ? std::string("default") : model;
        if (choice.readout == tavol::Readout::TwoCounters) {
            described += Format(" (shutter at %lu, mirror at %lu)", static_cast<unsigned long>(choice.shutterAddress),
                                static_cast<unsigned long>(choice.mirrorAddress));
        } else if (choice.readout == tavol::Readout::OneCounter) {
            described += Format(" (shutter at %lu)", static_cast<unsigned long>(choice.shutterAddress));
        }
        if (_out.Json()) {
            _out.Doc().Key("model").BeginObject().Key("name");
            if (name != nullptr) {
                _out.Doc().String(model);
            } else {
                _out.Doc().Null();
            }
            _out.Doc().Member("shutterAddress", choice.shutterAddress).Member("mirrorAddress", choice.mirrorAddress).EndObject();
        }
        Line("Model", described);
        if (tavol::IsFactoryMode(name)) {
            Line("Counts", "not read: the product name is the one of factory mode");
            return;
        }
        if (choice.readout == tavol::Readout::Unsupported) {
            Line("Counts", "not read: this model has no counters");
            return;
        }
        tavol::FactoryApi api;
        api.openDevice = _api.openDevice;
        api.monitorOpenSession = _api.monitorOpenSession;
        api.monitorCloseSession = _api.monitorCloseSession;
        api.closeDevice = _api.closeDevice;
        api.monitorChangeBank = _api.monitorChangeBank;
        api.monitorReadMemory = _api.monitorReadMemory;
        const tavol::CounterReadout readout = tavol::ReadCounters(api, choice);
        if (!readout.opened) {
            OpeningFailed(readout);
            return;
        }
        if (_out.Json()) {
            _out.Doc().Key("counts").BeginObject();
        }
        for (std::size_t i = 0; i < readout.recordCount; ++i) {
            const tavol::CounterRecord& record = readout.records[i];
            const bool shutter = record.counter == tavol::Counter::Shutter;
            const char* label = shutter ? "Shutter count" : "Mirror count";
            if (record.readResult != KVT_OK) {
                // A record the camera did not deliver is no count of zero.
                Failed("KVT_MonitorReadMemory", record.readResult, label);
                continue;
            }
            if (_out.Json()) {
                _out.Doc().Member(shutter ? "shutter" : "mirror", record.count);
            }
            Line(label, std::to_string(record.count));
        }
        if (_out.Json()) {
            _out.Doc().EndObject();
        }
    }

    int Finish() {
        if (_out.Json()) {
            _out.Doc().Key("failures").BeginArray();
            for (const Failure& failure : _failures) {
                _out.Doc()
                    .BeginObject()
                    .Member("step", failure.step)
                    .Member("code", failure.code)
                    .Member("meaning", ResultMeaning(failure.code))
                    .EndObject();
            }
            _out.Doc().EndArray();
        }
        for (const Failure& failure : _failures) {
            _out.Message("kvt info: " + failure.step + " failed with " + DescribeResult(failure.code));
        }
        return _failures.empty() ? 0 : ExitCodeOf(_failures.front().code);
    }

private:
    struct Failure {
        std::string step;
        unsigned long code;
    };

    // The readout leaves the session and the device as they are when its opening
    // fails (TavolInfo then ends); kvt closes what did open.
    void OpeningFailed(const tavol::CounterReadout& readout) {
        if (readout.openDeviceResult != KVT_OK) {
            Failed("KVT_OpenDevice", readout.openDeviceResult, "Counts");
        } else if (readout.openSessionResult != KVT_OK) {
            Failed("KVT_MonitorOpenSession", readout.openSessionResult, "Counts");
        } else {
            Failed("KVT_MonitorChangeBank", readout.changeBankResult, "Counts");
        }
        _api.monitorCloseSession();
        if (readout.openDeviceResult == KVT_OK) {
            _api.closeDevice();
        }
    }

    const kvttools::FactoryExports& _api;
    Output& _out;
    std::vector<Failure> _failures;
};

}  // namespace

int RunInfo(CommandContext& context) {
    context.NoMoreArgs(0);
    const kvttools::FactoryExports& api = context.Api();
    Summary summary(api, context.out);
    {
        OpenDevice device(api);
        summary.Cameras();
        summary.Body();
        summary.Firmware();
        summary.FactoryMode();
        device.Close();
    }
    summary.Counters(context.args.Value("model"));
    return summary.Finish();
}

}  // namespace kvtcli
