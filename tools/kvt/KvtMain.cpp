// kvt: a command line for the camera, for service engineers and scripts, built on the
// factory API exports of "oxrmsg.dll" like any factory program.
//
//     kvt COMMAND [ARGUMENTS] [--json] [--camera N] [--help]
//
// Exit codes: 0 success; a failing export's or procedure's result code where it fits
// (ResultCodes.h); 2 for a command line that cannot run; 1 for kvt's own failures.
#include <new>
#include <string>
#include <vector>

#include "tools/kvt/Commands.h"
#include "tools/kvt/Failures.h"
#include "tools/kvt/ResultCodes.h"
#include "tools/kvt/Suggestions.h"

namespace {

using namespace kvtcli;

// A global switch, before the command line is parsed: it decides how the output is
// set up, also for a command line that does not parse.
bool AskedFor(const std::vector<std::string>& args, const char* option) {
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg == option) {
            return true;
        }
    }
    return false;
}

const CommandEntry& CommandOf(const std::string& word) {
    const CommandEntry* entry = FindCommand(word);
    if (entry == nullptr) {
        std::string message = "unknown command \"" + word + "\"";
        const std::vector<std::string> nearest = NearestNames(word, CommandNames(), 2);
        if (!nearest.empty()) {
            message += "; did you mean " + nearest[0] + "?";
        }
        throw UsageError(message + " (kvt --help lists the commands)");
    }
    return *entry;
}

void ShowHelp(Output& out, const std::string& command, const std::string& text) {
    if (out.Json()) {
        if (!command.empty()) {
            out.Doc().Member("command", command);
        }
        out.Doc().Member("help", text);
    } else {
        out.Text(text);
    }
}

// kvt's own failure: exit 1.
int ToolError(Output& out, const std::string& command, const std::string& message) {
    out.Message("kvt" + (command.empty() ? std::string() : " " + command) + ": " + message);
    if (out.Json()) {
        out.Doc().CloseTo(1);
        out.Doc().Key("error").BeginObject().Member("kind", "tool").Member("message", message).EndObject();
    }
    return 1;
}

// Runs the command line; returns the exit code. Failures are said on standard error
// and, with --json, in the document's "error" member.
int Run(const std::vector<std::string>& args, Output& out) {
    std::string command;
    try {
        const std::string word = FindCommandWord(args);
        if (word.empty()) {
            if (AskedFor(args, "--help") || AskedFor(args, "-h")) {
                ShowHelp(out, std::string(), OverviewHelp());
                return 0;
            }
            out.Message(OverviewHelp());
            throw UsageError("missing command");
        }
        if (word == "help") {   // kvt help [COMMAND]
            const CommandLine line = ParseCommandLine(args, {});
            if (line.positionals.empty()) {
                ShowHelp(out, std::string(), OverviewHelp());
            } else {
                const CommandEntry& entry = CommandOf(line.positionals[0]);
                ShowHelp(out, entry.name, CommandHelp(entry));
            }
            return 0;
        }
        const CommandEntry& entry = CommandOf(word);
        command = entry.name;
        const CommandLine line = ParseCommandLine(args, entry.options);
        if (line.help) {
            ShowHelp(out, entry.name, CommandHelp(entry));
            return 0;
        }
        if (out.Json()) {
            out.Doc().Member("command", command);
        }
        if (!entry.anyCamera && line.camera > 0) {
            throw UsageError("camera slot 0 only: the factory API "
                             "addresses other slots only in release and release-params");
        }
        FactoryLibrary library;
        CommandContext context(entry, line, out, library);
        return entry.handler(context);
    } catch (const UsageError& e) {
        out.Message("kvt" + (command.empty() ? std::string() : " " + command) + ": " + e.what());
        if (out.Json()) {
            out.Doc().CloseTo(1);
            out.Doc().Key("error").BeginObject().Member("kind", "usage").Member("message", e.what()).EndObject();
        }
        return kUsageExitCode;
    } catch (const ExportFailure& e) {
        out.Message("kvt " + command + ": " + e.what());
        if (out.Json()) {
            out.Doc().CloseTo(1);
            out.Doc()
                .Key("error")
                .BeginObject()
                .Member("kind", "export")
                .Member("message", e.what())
                .Member("step", e.Step())
                .Member("code", e.Code())
                .Member("meaning", ResultMeaning(e.Code()))
                .EndObject();
        }
        return ExitCodeOf(e.Code());
    } catch (const std::bad_alloc&) {
        return ToolError(out, command, "out of memory");
    } catch (const std::exception& e) {   // ToolFailure and anything unforeseen
        return ToolError(out, command, e.what());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    StandardStreams streams(AskedFor(args, "--verbose"));   // before the libraries load
    Output out(streams, AskedFor(args, "--json"));
    const int exitCode = Run(args, out);
    if (out.Json()) {
        out.Doc().CloseTo(1);
        out.Doc().Member("exitCode", exitCode);
    }
    out.Finish();
    return exitCode;
}
