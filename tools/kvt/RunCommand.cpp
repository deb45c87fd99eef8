// kvt run NAME [VALUES...]: one event procedure with a parameter made from typed values.
#include "include/kvt_factory.h"
#include "tools/kvt/Commands.h"
#include "tools/kvt/FieldPrinter.h"
#include "tools/kvt/Failures.h"
#include "tools/kvt/ParameterValues.h"
#include "tools/kvt/ProcedureRegistry.h"
#include "tools/kvt/ResultCodes.h"
#include "tools/kvt/Suggestions.h"
#include "tools/procref/RegisteredProcedures.h"

namespace kvtcli {
namespace {

using procref::Flow;

struct Parameter {
    Layout layout;
    Flow flow = Flow::None;
    std::string bytes;
};

[[noreturn]] void NotRegistered(const std::string& name, const Registry& registry) {
    std::string message = "no event procedure \"" + name + "\" is registered";
    const std::vector<std::string> nearest = NearestNames(name, registry.Names(), 3, true);
    for (std::size_t i = 0; i < nearest.size(); ++i) {
        message += (i == 0 ? "; nearest: " : ", ") + nearest[i];
    }
    throw UsageError(message + " (kvt procs lists them)");
}

// The documented parameter, filled from the values.
Parameter DocumentedParameter(const std::string& name, const procref::ParameterShape& shape,
                              const std::vector<std::string>& values) {
    Parameter parameter;
    parameter.layout = LayoutOfShape(shape);
    parameter.flow = shape.flow;
    const std::string what = name + "'s parameter (" + parameter.layout.name + ")";
    if (shape.flow == Flow::Out && !values.empty()) {
        throw UsageError(what + " is an output: " + name + " takes no values");
    }
    if (shape.flow == Flow::None && !values.empty()) {
        throw UsageError(name + " has no parameter: it takes no values");
    }
    parameter.bytes = FillParameter(parameter.layout, values, what);
    if (parameter.layout.varies && parameter.bytes.empty()) {
        throw UsageError(name + " needs its bytes, in hex (for example 0a1b or \"0a 1b\")");
    }
    if (parameter.layout.varies) {
        parameter.layout = BytesLayout(parameter.bytes.size());
    }
    return parameter;
}

// A procedure the reference does not know: its registered size and direction, and
// the typed values.
Parameter RegisteredParameter(const std::string& name, const RegisteredName& registered,
                              const std::vector<std::string>& values) {
    Parameter parameter;
    parameter.bytes = FillTypedValues(values, registered.size, name + "'s parameter");
    parameter.layout = parameter.bytes.empty() ? LayoutOfShape(procref::ParameterShape())
                                               : BytesLayout(parameter.bytes.size());
    if (parameter.bytes.empty()) {
        parameter.flow = Flow::None;
    } else if (registered.direction == procref::kDirectionIn) {
        parameter.flow = Flow::In;
    } else if (registered.direction == procref::kDirectionOut && values.empty()) {
        parameter.flow = Flow::Out;
    } else {
        parameter.flow = Flow::InOut;
    }
    return parameter;
}

void PrintResult(Output& out, const std::string& name, const Parameter& parameter,
                 unsigned long result) {
    if (out.Json()) {
        out.Doc()
            .Member("procedure", name)
            .Member("parameter", parameter.layout.name)
            .Member("direction", procref::FlowName(parameter.flow))
            .Member("size", parameter.bytes.size())
            .Member("result", result)
            .Member("meaning", ResultMeaning(result));
    } else {
        out.Text(name + " = " + DescribeResult(result) + "\n");
    }
    if (result == KVT_OK && (parameter.flow == Flow::Out || parameter.flow == Flow::InOut)) {
        PrintFields(out, parameter.layout, parameter.bytes, "output");
    }
}

}  // namespace

int RunProcedure(CommandContext& context) {
    const std::string& name = context.Arg(0, "NAME");
    if (name.size() > KVT_EVENT_PROC_NAME_MAX) {
        throw UsageError("a procedure name has at most " + std::to_string(KVT_EVENT_PROC_NAME_MAX) +
                         " characters, this one " + std::to_string(name.size()));
    }
    const std::vector<std::string> values(context.args.positionals.begin() + 1,
                                          context.args.positionals.end());

    // A documented parameter is checked before the library loads.
    const procref::Description* documented = DocumentedProcedure(name);
    Parameter parameter;
    if (documented != nullptr) {
        parameter = DocumentedParameter(name, documented->parameter, values);
    }
    const Registry registry = ObserveRegistry(context.Library());
    const RegisteredName* registered = registry.Find(name);
    if (registered == nullptr) {
        NotRegistered(name, registry);
    }
    if (documented == nullptr) {
        parameter = RegisteredParameter(name, *registered, values);
    }

    const kvttools::FactoryExports& api = context.Api();
    OpenDevice device(api);
    void* pointer = parameter.bytes.empty() ? nullptr : &parameter.bytes[0];
    const unsigned long result =
        api.executeEventProcS(name.c_str(), pointer, static_cast<unsigned long>(parameter.bytes.size()));
    PrintResult(context.out, name, parameter, result);
    device.Close();
    Require(name.c_str(), result);
    return 0;
}

}  // namespace kvtcli
