#include "tools/kvt/Commands.h"

#include "tools/kvt/Failures.h"
#include "tools/kvt/Suggestions.h"

namespace kvtcli {
namespace {

const char kInfoDetails[] =
    "Opens the device and shows the camera: how many cameras are attached and which\n"
    "one is in tool mode, the body number (GetBodyID), the firmware versions (ICU,\n"
    "ICU master and slave, MPU, FPU, TPU, BP, EEPROM), whether it is in factory mode,\n"
    "and its shutter and mirror counts, read from bank 0xEE at the model's addresses\n"
    "with TavolInfo's model table and formulas. The factory API does not tell the\n"
    "model: give its product name with --model (as the camera SDK reports it);\n"
    "without it the default addresses are read (shutter 4097, mirror 4107).\n"
    "A step that fails is shown with its code; the others still run.\n"
    "\n"
    "Examples:\n"
    "  kvt info\n"
    "  kvt info --model \"Tavol OXR A05\"\n"
    "  kvt info --json\n";

const char kProcsDetails[] =
    "Lists the event procedures that the plug-ins loaded by oxrmsg.dll (from\n"
    "_Q517_\\PlugIn\\) register, in registration order: the name, the parameter size\n"
    "and direction as registered (the size KVT_ExecuteEventProcS compares; 0: not\n"
    "compared), the parameter of the procedure reference (? where it does not know\n"
    "the name: kvt run then takes typed values) and the plug-in. A later\n"
    "registration of a name hides an earlier one, as in the library. PATTERN selects\n"
    "names: with * or ? a wildcard, otherwise a part of the name; letter case is\n"
    "ignored. Needs no camera.\n"
    "\n"
    "Examples:\n"
    "  kvt procs\n"
    "  kvt procs Body\n"
    "  kvt procs \"Get*Version\" --json\n";

const char kRunDetails[] =
    "Opens the device and runs one event procedure (KVT_ExecuteEventProcS) with a\n"
    "parameter made from VALUES, typed by the procedure's parameter:\n"
    "  record  Field=value per field (Field[i]=value or Field=v1,v2,... for arrays);\n"
    "          fields not named are 0. Records: BODYID_T, DATETIME_T,\n"
    "          DIGITAL_PARA_ADJ_T, PROPERTY_DATA_T, ABOARD_EEPROM_DATA_T\n"
    "  number  60, 0x3c, -2\n"
    "  text    one argument (quote it), shorter than the text's size\n"
    "  bytes   hex: 0a1b2c or \"0a 1b 2c\"\n"
    "A procedure the reference does not know takes typed values one after the other:\n"
    "u32:N, i32:N, text:TEXT, hex:BYTES. Output parameters are printed by field.\n"
    "The exit code is the procedure's result where it fits.\n"
    "\n"
    "Examples:\n"
    "  kvt run GetBodyID\n"
    "  kvt run GetBodyID --json\n"
    "  kvt run SetBodyID ManufactureMonth=11 Second=32 Third=4 Fourth=5 SerialNo=12345\n"
    "  kvt run SetAutoPowerOffTime 60\n"
    "  kvt run SetOwnerName \"Service 4\"\n"
    "  kvt run GetABoardEepromData Address=10 Count=3\n";

const char kMemDetails[] =
    "The monitor session exports: opens the device and a session, selects BANK and\n"
    "reads COUNT bytes at ADDRESS (shown as a hex dump, or written to FILE with\n"
    "--out), writes BYTES (hex) at ADDRESS, or calls the camera function FUNCTION\n"
    "(in --bank BANK when given). Numbers are decimal or hexadecimal with 0x. Banks:\n"
    "238 (0xEE, counters), 252 (0xFC), 192 to 207 (0xC0 to 0xCF).\n"
    "\n"
    "Examples:\n"
    "  kvt mem read 238 4117 10\n"
    "  kvt mem read 0xEE 0x1000 256 --out bank-ee.bin\n"
    "  kvt mem write 238 0x1F28 a1 22\n"
    "  kvt mem call 0x76 --bank 0xFC\n";

const char kPropDetails[] =
    "Adjustment properties, by their catalogue names (PROP_BODY_ID, ...):\n"
    "  load NAME FILE   reads the property into FILE (KVT_LoadProperty)\n"
    "  save NAME FILE   writes FILE, exactly the property's size, into the property\n"
    "                   and has the camera store it (KVT_SaveProperty)\n"
    "  dump FOLDER      writes every adjustment property into FOLDER as <id>.bin\n"
    "                   (KVT_SetFolderPath and the plug-in's LoadPropertyData); the\n"
    "                   folder is made when it is missing\n"
    "\"props\" is the same command.\n"
    "\n"
    "Examples:\n"
    "  kvt prop load PROP_BODY_ID body.bin\n"
    "  kvt prop save PROP_BODY_ID body.bin\n"
    "  kvt props dump adjustment\n";

const char kReleaseDetails[] =
    "Releases the shutter and transfers the images: FILE up to its last dot, plus\n"
    "\".jpg\" for the JPEG image and \".tr2\" for the raw image (a FILE without an\n"
    "extension gets \".jpg\"). The camera's quality code (word 9 of the release\n"
    "parameters) decides which come; --quality sets it for this release and puts\n"
    "the old one back afterwards: jpeg (1), raw (6) or raw+jpeg (7); --raw is\n"
    "--quality raw+jpeg. --mvt releases through MVT_ReleaseAndTransfer (bit 10 of the\n"
    "fixed flag). --camera N releases camera slot N (KVT_ReleaseAndTransferS).\n"
    "\n"
    "Examples:\n"
    "  kvt release shot.jpg\n"
    "  kvt release test\\shot --raw\n"
    "  kvt release second.jpg --camera 1 --json\n";

const char kReleaseParamsDetails[] =
    "Reads (get) or changes (set) the release parameters, the 20 words Word[0] to\n"
    "Word[19] of ReleaseParameter (kvt_records.h): set reads them first, applies the\n"
    "changes and writes them all back (at least 200 ms). Word 0 is the mode, word 9\n"
    "the quality code, word 11 the flavor mode, words 12 to 19 its data. --ex uses\n"
    "the Ex exports, which never write word 6. --camera N uses the S exports for\n"
    "camera slot N (slot 0 all words, slot 1 all but the flavor data, other slots\n"
    "words 0 to 7).\n"
    "\n"
    "Examples:\n"
    "  kvt release-params get\n"
    "  kvt release-params set Word[9]=7\n"
    "  kvt release-params get --camera 1 --json\n";

const std::vector<CommandEntry>& Table() {
    static const std::vector<CommandEntry> table = {
        {"info", "info [--model NAME]",
         "cameras, body number, firmware versions, shutter and mirror counts", kInfoDetails,
         {{"model", "NAME", "the camera's product name, for the counter addresses"}}, false,
         &RunInfo},
        {"procs", "procs [PATTERN]", "the event procedures the loaded plug-ins registered",
         kProcsDetails, {}, false, &RunProcs},
        {"run", "run NAME [VALUES...]", "runs one event procedure", kRunDetails, {}, false,
         &RunProcedure},
        {"mem", "mem read BANK ADDRESS COUNT [--out FILE] | write BANK ADDRESS BYTES... | call FUNCTION",
         "camera memory and functions through a monitor session", kMemDetails,
         {{"out", "FILE", "read: write the bytes to FILE"},
          {"bank", "BANK", "call: select this bank first"}},
         false, &RunMemory},
        {"prop", "prop load NAME FILE | save NAME FILE | dump FOLDER",
         "adjustment properties to and from files", kPropDetails, {}, false, &RunProperty},
        {"release", "release FILE [--raw | --quality Q] [--mvt]",
         "remote release and transfer of the images", kReleaseDetails,
         {{"raw", nullptr, "raw and JPEG image for this release"},
          {"quality", "Q", "jpeg, raw or raw+jpeg (1, 6, 7) for this release"},
          {"mvt", nullptr, "release through MVT_ReleaseAndTransfer"}},
         true, &RunRelease},
        {"release-params", "release-params get | set FIELD=VALUE... [--ex]",
         "the release parameters", kReleaseParamsDetails,
         {{"ex", nullptr, "the Ex exports (word 6 is never written)"}}, true,
         &RunReleaseParameters},
    };
    return table;
}

}  // namespace

FactoryLibrary& CommandContext::Library() {
    _library.Load();
    return _library;
}

const std::string& CommandContext::Arg(std::size_t i, const char* name) const {
    if (i >= args.positionals.size()) {
        throw UsageError(std::string("missing ") + name + " (kvt " + command.usage + ")");
    }
    return args.positionals[i];
}

void CommandContext::NoMoreArgs(std::size_t count) const {
    if (args.positionals.size() > count) {
        throw UsageError("unexpected argument \"" + args.positionals[count] + "\" (kvt " +
                         command.usage + ")");
    }
}

int RunAction(CommandContext& context, const std::vector<CommandAction>& actions) {
    std::vector<std::string> names;
    std::string list;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        names.push_back(actions[i].name);
        list += (i == 0 ? "" : i + 1 == actions.size() ? " or " : ", ") + names.back();
    }
    const std::string& action = context.Arg(0, list.c_str());
    for (const CommandAction& candidate : actions) {
        if (action == candidate.name) {
            return candidate.run(context);
        }
    }
    const std::vector<std::string> nearest = NearestNames(action, names, 1);
    throw UsageError("unknown action \"" + action + "\": " + list +
                     (nearest.empty() ? std::string() : "; did you mean " + nearest[0] + "?"));
}

const std::vector<CommandEntry>& Commands() {
    return Table();
}

const CommandEntry* FindCommand(const std::string& name) {
    const std::string wanted = name == "props" ? "prop" : name;
    for (const CommandEntry& entry : Table()) {
        if (wanted == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<std::string> CommandNames() {
    std::vector<std::string> names;
    for (const CommandEntry& entry : Table()) {
        names.push_back(entry.name);
    }
    names.push_back("props");
    return names;
}

std::string CommandHelp(const CommandEntry& entry) {
    std::string text = std::string("usage: kvt ") + entry.usage + " [--json] [--camera N]\n\n" +
                       entry.summary + ".\n\n" + entry.details;
    if (!entry.options.empty()) {
        text += "\nOptions:\n";
        for (const OptionInfo& option : entry.options) {
            std::string head = std::string("--") + option.name;
            if (option.value != nullptr) {
                head += std::string(" ") + option.value;
            }
            text += Format("  %-14s %s\n", head.c_str(), option.text);
        }
    }
    text += "  --json         one JSON document on standard output\n";
    text += "  --verbose      the libraries' own console lines on standard error\n";
    text += entry.anyCamera ? "  --camera N     camera slot N (0 to 7)\n"
                           : "  --camera N     camera slot: only 0, the camera the factory API works on\n";
    return text;
}

std::string OverviewHelp() {
    std::string text =
        "usage: kvt COMMAND [ARGUMENTS] [--json] [--camera N] [--help]\n"
        "\n"
        "The camera in factory and service mode, through the factory API of oxrmsg.dll.\n"
        "Run it in the deploy folder (beside oxrmsg.dll).\n"
        "\n"
        "Commands:\n";
    for (const CommandEntry& entry : Table()) {
        text += Format("  %-15s %s\n", entry.name, entry.summary);
    }
    text +=
        "\n"
        "Options of every command:\n"
        "  --json         one JSON document on standard output (messages stay on\n"
        "                 standard error)\n"
        "  --camera N     camera slot N where two cameras are attached; the factory API\n"
        "                 addresses slots other than 0 only in release and\n"
        "                 release-params (slot 0 is the camera in tool mode)\n"
        "  --verbose      the libraries' own console lines on standard error (they are\n"
        "                 in KvtDll.log in any case)\n"
        "  --help         help of the command, with examples (kvt COMMAND --help)\n"
        "\n"
        "Exit codes: 0 success; a failing export's or procedure's result code where it\n"
        "fits (1 to 255, not 2), else 1; 2 for a command line that cannot run.\n";
    return text;
}

}  // namespace kvtcli
