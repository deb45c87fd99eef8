// kvt mem read|write|call: camera memory and functions through a monitor session.
#include <cstdint>

#include "tools/common/WholeFile.h"
#include "tools/kvt/Commands.h"
#include "tools/kvt/Failures.h"
#include "tools/kvt/HexDump.h"
#include "tools/kvt/ResultCodes.h"
#include "tools/kvt/Values.h"

namespace kvtcli {
namespace {

// The most one read asks for (what the transport carries in one return).
constexpr std::int64_t kMaxReadBytes = 64ll << 20;

// Opens the device and a session on `bank` for the life of the object.
class BankSession {
public:
    BankSession(const kvttools::FactoryExports& api, std::uint32_t bank)
        : _device(api), _session(api) {
        Require("KVT_MonitorChangeBank", api.monitorChangeBank(bank));
    }
    void Close() {
        _session.Close();
        _device.Close();
    }

private:
    OpenDevice _device;
    MonitorSession _session;
};

void RequireRange(std::uint32_t address, std::uint64_t count) {
    if (address + count > 0x100000000ull) {
        throw UsageError("the range runs past the end of the 4 GB address space");
    }
}

void NoOption(const CommandContext& context, const char* option, const char* action) {
    if (context.args.Has(option)) {
        throw UsageError(std::string("--") + option + " does not go with mem " + action);
    }
}

void Describe(Output& out, const char* action, std::uint32_t bank, std::uint32_t address) {
    if (out.Json()) {
        out.Doc().Member("action", action).Member("bank", bank).Member("address", address);
    }
}

int Read(CommandContext& context) {
    NoOption(context, "bank", "read");
    const std::uint32_t bank = ParseU32(context.Arg(1, "BANK"), "BANK");
    const std::uint32_t address = ParseU32(context.Arg(2, "ADDRESS"), "ADDRESS");
    const auto count = static_cast<std::uint32_t>(
        ParseNumber(context.Arg(3, "COUNT"), 1, kMaxReadBytes, "COUNT"));
    context.NoMoreArgs(4);
    RequireRange(address, count);
    const std::string file = context.args.Value("out");
    if (context.args.Has("out") && file.empty()) {
        throw UsageError("--out needs a file name");
    }

    std::string bytes(count, '\0');
    BankSession session(context.Api(), bank);
    Require("KVT_MonitorReadMemory",
            context.Api().monitorReadMemory(address, count, reinterpret_cast<unsigned char*>(&bytes[0])));
    session.Close();

    Output& out = context.out;
    Describe(out, "read", bank, address);
    if (!file.empty()) {
        if (!kvttools::WriteWholeFile(file, bytes)) {
            throw ToolFailure("cannot write " + file);
        }
        if (out.Json()) {
            out.Doc().Member("count", count).Member("file", file);
        }
        out.Textf("%lu bytes of bank %lu at %lu (0x%08lx) written to %s\n",
                  static_cast<unsigned long>(count), static_cast<unsigned long>(bank),
                  static_cast<unsigned long>(address), static_cast<unsigned long>(address),
                  file.c_str());
        return 0;
    }
    if (out.Json()) {
        out.Doc().Member("count", count).Member("bytes", HexText(bytes, false));
    }
    out.Textf("bank %lu (0x%02lx), %lu bytes at %lu (0x%08lx):\n", static_cast<unsigned long>(bank),
              static_cast<unsigned long>(bank), static_cast<unsigned long>(count),
              static_cast<unsigned long>(address), static_cast<unsigned long>(address));
    out.Text(HexDump(bytes, address));
    return 0;
}

int Write(CommandContext& context) {
    NoOption(context, "bank", "write");
    NoOption(context, "out", "write");
    const std::uint32_t bank = ParseU32(context.Arg(1, "BANK"), "BANK");
    const std::uint32_t address = ParseU32(context.Arg(2, "ADDRESS"), "ADDRESS");
    context.Arg(3, "BYTES");
    std::string bytes;
    for (std::size_t i = 3; i < context.args.positionals.size(); ++i) {
        bytes += ParseHexBytes(context.args.positionals[i], "BYTES");
    }
    if (bytes.empty()) {
        throw UsageError("BYTES: no bytes given");
    }
    if (bytes.size() > static_cast<std::size_t>(kMaxReadBytes)) {
        throw UsageError("BYTES: at most " + std::to_string(kMaxReadBytes) + " bytes in one write");
    }
    RequireRange(address, bytes.size());

    BankSession session(context.Api(), bank);
    Require("KVT_MonitorWriteMemory",
            context.Api().monitorWriteMemory(address, static_cast<unsigned long>(bytes.size()),
                                             reinterpret_cast<unsigned char*>(&bytes[0])));
    session.Close();

    Output& out = context.out;
    Describe(out, "write", bank, address);
    if (out.Json()) {
        out.Doc().Member("count", bytes.size()).Member("bytes", HexText(bytes, false));
    }
    out.Textf("%lu bytes written to bank %lu at %lu (0x%08lx)\n",
              static_cast<unsigned long>(bytes.size()), static_cast<unsigned long>(bank),
              static_cast<unsigned long>(address), static_cast<unsigned long>(address));
    return 0;
}

int Call(CommandContext& context) {
    NoOption(context, "out", "call");
    const std::uint32_t function = ParseU32(context.Arg(1, "FUNCTION"), "FUNCTION");
    context.NoMoreArgs(2);
    const bool banked = context.args.Has("bank");
    const std::uint32_t bank = banked ? ParseU32(context.args.Value("bank"), "--bank") : 0;

    const kvttools::FactoryExports& api = context.Api();
    OpenDevice device(api);
    MonitorSession session(api);
    if (banked) {
        Require("KVT_MonitorChangeBank", api.monitorChangeBank(bank));
    }
    Require("KVT_MonitorCallFunction", api.monitorCallFunction(function));
    session.Close();
    device.Close();

    Output& out = context.out;
    if (out.Json()) {
        out.Doc().Member("action", "call").Member("function", function);
        if (banked) {
            out.Doc().Member("bank", bank);
        }
    }
    out.Textf("function %lu (0x%08lx) called\n", static_cast<unsigned long>(function),
              static_cast<unsigned long>(function));
    return 0;
}

}  // namespace

int RunMemory(CommandContext& context) {
    return RunAction(context, {{"read", &Read}, {"write", &Write}, {"call", &Call}});
}

}  // namespace kvtcli
