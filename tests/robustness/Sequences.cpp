#include "robustness/Sequences.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "plugins/pellor/DataRecords.h"
#include "support/TestSupport.h"

namespace robust {
namespace {

constexpr char kCameraSettings[] =
    "ToolMode = 0xFFFFFFFF\n"
    "JpegSize = 3000\nRawSize = 5000\n"
    "CameraLog = \"[0000.012] SYS  power on\\r\\n[0000.140] ICU  started\\r\\n\"\n";
// Quality code 7 (raw, then JPEG) in byte 2 of the release quality property.
constexpr char kCameraProperties[] = "0x8000002F = 00 00 07 04\n";

// A parameter buffer of a procedure that lives as long as the sequence.
template <class T>
std::shared_ptr<T> Record(const T& value) {
    return std::make_shared<T>(value);
}

// Runs `first`, and `second` when `first` succeeded.
unsigned long Then(unsigned long first, const std::function<unsigned long()>& second) {
    return first != 0 ? first : second();
}

// The call of one event procedure through KVT_ExecuteEventProcS with a buffer of
// `size` bytes, `fill` copied into it before every attempt, and `passed` as the size
// argument (the buffer's size unless given).
Sequence Procedure(DriverContext& ctx, const std::string& name, std::size_t size,
                   const std::string& fill = std::string(), long passed = -1) {
    auto buffer = std::make_shared<std::vector<unsigned char>>(size == 0 ? 1 : size, 0);
    kvttest::FactoryApi& api = ctx.api;
    Sequence s;
    s.name = name;
    s.scenario = BaseScenario();
    s.arrange = [&api, buffer, fill] {
        std::fill(buffer->begin(), buffer->end(), 0);
        std::memcpy(buffer->data(), fill.data(), std::min(fill.size(), buffer->size()));
        return api.openDevice();
    };
    const unsigned long argument = static_cast<unsigned long>(passed < 0 ? static_cast<long>(size) : passed);
    s.act = [&api, buffer, name, argument] {
        return api.executeEventProcS(name.c_str(), buffer->data(), argument);
    };
    return s;
}

template <class T>
std::string Bytes(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

std::string U32(std::uint32_t v) {
    return Bytes(v);
}

}  // namespace

std::string BaseScenario() {
    return std::string("[Cameras]\nCount = 1\n[Camera0]\n") + kCameraSettings +
           "[Camera0.Public]\n" + kCameraProperties;
}

std::string TwoCameraScenario() {
    return std::string("[Cameras]\nCount = 2\n[Camera0]\n") + kCameraSettings +
           "[Camera1]\nToolMode = 0\n";
}

std::vector<Sequence> AllSequences(DriverContext& ctx) {
    kvttest::FactoryApi& api = ctx.api;
    const std::string folder = ctx.folder;
    auto none = [] { return 0ul; };
    std::vector<Sequence> all;

    // Device: the open of one camera, and of two with the tool-mode exchange.
    all.push_back({"OpenDevice", BaseScenario(), none, [&api] { return api.openDevice(); }});
    all.push_back({"OpenDevice.TwoCameras", TwoCameraScenario(), none,
                   [&api] { return api.openDevice(); }});

    // Monitor exports: a whole session.
    all.push_back({"MonitorSession", BaseScenario(),
                   [&api] { return Then(api.openDevice(), api.monitorCloseSession); },
                   [&api] {
                       unsigned char data[16] = {1, 2, 3, 4};
                       unsigned long r = api.monitorOpenSession();
                       if (r == 0) r = api.monitorChangeBank(0xEE);
                       if (r == 0) r = api.monitorReadMemory(0x1000, sizeof(data), data);
                       if (r == 0) r = api.monitorWriteMemory(0x1000, 4, data);
                       if (r == 0) r = api.monitorCallFunction(0x12);
                       if (r == 0) r = api.monitorCloseSession();
                       return r;
                   }});

    // Event procedures, one or more of every kind of row.
    const std::uint32_t language = 3, volume = 5;
    const pellor::BODYID_T body{12, 34, 5, 6, 123456};
    pellor::ABOARD_EEPROM_DATA_T eeprom{};
    eeprom.Address = 10;
    eeprom.Count = 3;
    eeprom.Data[10] = 0x1111;
    eeprom.Data[11] = 0x2222;
    eeprom.Data[12] = 0x3333;
    const std::int32_t when[6] = {2021, 4, 5, 6, 7, 8};   // year, month, day, hour, minute, second
    all.push_back(Procedure(ctx, "GetLanguage", 4));                        // read into
    all.push_back(Procedure(ctx, "SetLanguage", 4, U32(language)));         // write from
    all.push_back(Procedure(ctx, "DisableAutoActiveSweep", 0));             // write constant
    all.push_back(Procedure(ctx, "SaveLanguage", 0));                       // save
    all.push_back(Procedure(ctx, "SaveTimeCode", 0));                       // list save
    all.push_back(Procedure(ctx, "SetHighIsoSpeedNoiseReduction", 4, U32(1)));  // read, write
    all.push_back(Procedure(ctx, "EnterFactoryMode", 0));                   // write and save
    all.push_back(Procedure(ctx, "ExecuteAutoActiveSweep", 0));             // untested run
    all.push_back(Procedure(ctx, "DisableBootDisk", 0));                    // tested run
    all.push_back(Procedure(ctx, "SetSoundVolume", 4, U32(volume)));        // tested, with value
    all.push_back(Procedure(ctx, "GetMachineCellDispDialResult", 4));       // result of a run
    all.push_back(Procedure(ctx, "CheckLensActivity", 0));                  // monitor
    all.back().scenario +=   // the lens answers with status bit 1
        "[Camera0.Procedures]\nMonReadAndGetData.ReturnData = 02 12 80 12 20 90 00 01\n";
    all.push_back(Procedure(ctx, "MPUReset", 0));                           // monitor call
    all.push_back(Procedure(ctx, "SetDLResonantFrequency", 4, U32(0x1234)));  // property + monitor
    all.push_back(Procedure(ctx, "GetBodyID", sizeof(pellor::BODYID_T)));           // body ID
    all.push_back(Procedure(ctx, "SetBodyID", sizeof(pellor::BODYID_T), Bytes(body)));
    all.push_back(Procedure(ctx, "SetFilePrefix", 0));                      // body ID, then write
    // EEPROM (registered without a size: the record's size is documented)
    all.push_back(Procedure(ctx, "GetABoardEepromData", sizeof(eeprom), Bytes(eeprom), 0));
    all.push_back(Procedure(ctx, "SetABoardEepromData", sizeof(eeprom), Bytes(eeprom), 0));
    all.push_back(Procedure(ctx, "CopyDLResonantFrequency", 0));            // BoardInf EEPROM
    all.push_back(Procedure(ctx, "GetDateTime", sizeof(when)));       // calendar
    all.push_back(Procedure(ctx, "SetDateTime", sizeof(when), Bytes(when)));
    all.push_back(Procedure(ctx, "CheckStorageMediaExistence", 8));
    all.push_back(Procedure(ctx, "GetIcuFirmwareVersion", 36));
    all.push_back(Procedure(ctx, "GetCameraLog", 0));                       // camera log

    // Adjustment properties: the whole catalogue into the folder block's folder.
    Sequence load = Procedure(ctx, "LoadPropertyData", 0);
    load.arrange = [&api, folder] {
        ::CreateDirectoryA((folder + "Adjust").c_str(), nullptr);
        const std::string adjust = folder + "Adjust\\";
        return Then(api.openDevice(), [&] { return api.setFolderPath(adjust.c_str()); });
    };
    load.sampleLimit = 60;   // 239 records read alike: both ends in full, the middle spaced
    all.push_back(load);

    // Release parameters and release and transfer.
    auto parameter = Record(ReleaseParameter{{1, 5, 0, 0, 72, 120, 20, 0, 0, 7, 4, 129, 3}});
    all.push_back({"SetReleaseParameter", BaseScenario(), [&api] { return api.openDevice(); },
                   [&api, parameter] { return api.setReleaseParameter(parameter.get()); }});
    all.push_back({"GetReleaseParameterS", TwoCameraScenario(), [&api] { return api.openDevice(); },
                   [&api] {
                       ReleaseParameter r{};
                       return api.getReleaseParameterS(&r, 1);
                   }});
    all.push_back({"ReleaseAndTransfer", BaseScenario(), [&api] { return api.openDevice(); },
                   [&api] { return api.releaseAndTransfer("shot"); }});
    all.push_back({"ReleaseAndTransferS", TwoCameraScenario(), [&api] { return api.openDevice(); },
                   [&api] { return api.releaseAndTransferS("shots", 1); }});
    all.push_back({"MVT_ReleaseAndTransfer", BaseScenario(), [&api] { return api.openDevice(); },
                   [&api] { return api.mvtReleaseAndTransfer("mvt"); }});

    // Property files.
    all.push_back({"LoadProperty", BaseScenario(), [&api] { return api.openDevice(); },
                   [&api] { return api.loadProperty("PROP_FILE_PREFIX", "prefix.bin"); }});
    all.push_back({"SaveProperty", BaseScenario(),
                   [&api, folder] {
                       kvttest::WriteFileBytes(folder + "prefix-in.bin", "ABCD0123");
                       return api.openDevice();
                   },
                   [&api] { return api.saveProperty("PROP_FILE_PREFIX", "prefix-in.bin"); }});
    all.push_back({"Debug", BaseScenario(), [&api] { return api.openDevice(); },
                   [&api] { return api.debug(); }});
    return all;
}

}  // namespace robust
