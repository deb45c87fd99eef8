// The sub-commands of kvt: their table (name, usage, help with examples, options) and
// the context a command runs in.
#pragma once

#include <string>
#include <vector>

#include "tools/kvt/CommandLine.h"
#include "tools/kvt/FactoryLibrary.h"
#include "tools/kvt/Output.h"

namespace kvtcli {

struct CommandEntry;

class CommandContext {
public:
    CommandContext(const CommandEntry& command, const CommandLine& args, Output& out,
                   FactoryLibrary& library)
        : command(command), args(args), out(out), _library(library) {}

    const CommandEntry& command;
    const CommandLine& args;
    Output& out;

    // The library, loaded on first use.
    FactoryLibrary& Library();
    const kvttools::FactoryExports& Api() { return Library().Api(); }

    // Positional argument i (after the command word); UsageError "missing <name>".
    const std::string& Arg(std::size_t i, const char* name) const;
    // UsageError when more than `count` positional arguments were given.
    void NoMoreArgs(std::size_t count) const;
    // The camera slot of --camera (0 when not given).
    int Camera() const { return args.camera < 0 ? 0 : args.camera; }

private:
    FactoryLibrary& _library;
};

// Runs the command; returns its exit code (0 on success) or throws a failure of
// Failures.h.
using CommandHandler = int (*)(CommandContext& context);

struct CommandEntry {
    const char* name;
    const char* usage;      // after "kvt "
    const char* summary;    // one line
    const char* details;    // the help text, with examples
    std::vector<OptionInfo> options;   // besides --json, --camera and --help
    bool anyCamera;         // --camera takes any slot (else slot 0 only)
    CommandHandler handler;
};

// The commands in the order of the help.
const std::vector<CommandEntry>& Commands();
// The command of that name (or alias), or null.
const CommandEntry* FindCommand(const std::string& name);
std::vector<std::string> CommandNames();

std::string CommandHelp(const CommandEntry& entry);

// An action of a command ("mem read"): its word and what runs it.
struct CommandAction {
    const char* name;
    CommandHandler run;
};

// Runs the action the first argument names; UsageError when it is missing or none of
// `actions` (with the nearest one).
int RunAction(CommandContext& context, const std::vector<CommandAction>& actions);
std::string OverviewHelp();

int RunInfo(CommandContext& context);
int RunProcs(CommandContext& context);
int RunProcedure(CommandContext& context);
int RunMemory(CommandContext& context);
int RunProperty(CommandContext& context);
int RunRelease(CommandContext& context);
int RunReleaseParameters(CommandContext& context);

}  // namespace kvtcli
