#include "tools/logreport/OperationPairing.h"

#include <algorithm>
#include <utility>

#include "tools/logreport/ExportNames.h"

namespace logreport {
namespace {

std::string PathElement(const Operation& op) {
    return op.procedure.empty() ? op.name : op.name + " (" + op.procedure + ")";
}

}  // namespace

bool OperationPairing::HasOpen(const Lane& lane, std::string_view name) {
    for (const OpenFrame& f : lane.stack) {
        if (f.op.name == name) {
            return true;
        }
    }
    return false;
}

bool OperationPairing::HasOnTop(const Lane& lane, std::string_view name) {
    return !lane.stack.empty() && lane.stack.back().op.name == name;
}

bool OperationPairing::HasExportOpen(const Lane& lane) {
    for (const OpenFrame& f : lane.stack) {
        if (f.op.kind == OpKind::Export) {
            return true;
        }
    }
    return false;
}

OpenFrame OperationPairing::NewFrame(Lane& lane, std::string_view name) {
    OpenFrame f;
    f.op.id = _nextId++;
    f.op.lane = lane.info.id;
    f.op.depth = static_cast<unsigned>(lane.stack.size());
    f.op.name.assign(name.data(), name.size());
    f.op.start = lane.now;
    if (lane.stack.empty()) {
        f.op.kind = IsExportName(name) ? OpKind::Export : OpKind::Step;
    } else {
        const Operation& parent = lane.stack.back().op;
        f.op.parent = parent.id;
        f.op.kind = IsExportName(name)              ? OpKind::Export
                    : IsExecuteExport(parent.name) ? OpKind::Procedure
                                                   : OpKind::Step;
    }
    return f;
}

void OperationPairing::AddChainLine(std::vector<ChainLine>& chain, std::size_t& dropped,
                                    ChainLine line) {
    if (chain.size() < kMaxChain) {
        chain.push_back(std::move(line));
    } else {
        ++dropped;
    }
}

void OperationPairing::Entry(Lane& lane, const LogLine& line, std::uint64_t number, bool contested) {
    FlushOrphan(lane);
    if (lane.stack.size() >= kMaxDepth) {
        ++_notes.tooDeep;
        return;
    }
    OpenFrame f = NewFrame(lane, line.name);
    f.op.firstLine = number;
    f.contested = contested;
    if (!lane.stack.empty()) {
        OpenFrame& parent = lane.stack.back();
        parent.directSince = parent.chain.size();
        // The first frame in an execute export is its procedure.
        if (f.op.kind == OpKind::Procedure && parent.firstChild.empty()) {
            parent.firstChild = f.op.name;
        }
    }
    lane.stack.push_back(std::move(f));
    lane.idle = false;
}

void OperationPairing::Exit(Lane& lane, const LogLine& line, std::uint64_t number) {
    std::size_t at = lane.stack.size();
    while (at > 0 && lane.stack[at - 1].op.name != line.name) {
        --at;
    }
    if (at > 0) {
        FlushOrphan(lane);
        // Frames opened above it never wrote their exit line, unless they were opened
        // while other processes were running: then they may be another's, still open.
        std::vector<OpenFrame> kept;
        while (lane.stack.size() > at) {
            if (lane.stack.back().contested) {
                kept.push_back(std::move(lane.stack.back()));
            } else {
                Abandon(lane, lane.stack.back());
            }
            lane.stack.pop_back();
        }
        Close(lane, lane.stack.back(), line.detail, line.result, number);
        lane.stack.pop_back();
        for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
            lane.stack.push_back(std::move(*it));
        }
    } else {
        // An exit line without its entry line (some steps write none). Its start is
        // where the process went idle, or the exit itself inside another frame; the
        // "[ERR!]" lines written just before it are its own.
        ++_notes.exitsWithoutEntry;
        const std::string name(line.name);
        auto it = _notes.exitsWithoutEntryByName.find(name);
        if (it != _notes.exitsWithoutEntryByName.end()) {
            ++it->second;
        } else if (_notes.exitsWithoutEntryByName.size() < Notes::kNames) {
            _notes.exitsWithoutEntryByName.emplace(name, 1);
        }
        OpenFrame f = NewFrame(lane, line.name);
        f.op.hasEntry = false;
        f.op.firstLine = number;
        if (lane.stack.empty()) {
            f.op.start = lane.idle ? lane.idleSince : lane.now;
            if (lane.orphanOpen) {
                f.op.firstLine = lane.orphan.line;
                f.chain = std::move(lane.orphan.chain);
                f.chainDropped = lane.orphan.chainDropped;
                lane.orphanOpen = false;
            }
        } else {
            OpenFrame& parent = lane.stack.back();
            const auto from = parent.chain.begin() + static_cast<std::ptrdiff_t>(parent.directSince);
            f.chain.assign(std::make_move_iterator(from), std::make_move_iterator(parent.chain.end()));
            parent.chain.erase(from, parent.chain.end());
        }
        Close(lane, f, line.detail, line.result, number);
    }
    if (lane.stack.empty()) {
        lane.idle = false;   // the next line starts the idle time
    }
}

void OperationPairing::Close(Lane& lane, OpenFrame& frame, std::string_view detail, long result,
                             std::uint64_t number) {
    Operation& op = frame.op;
    op.end = std::max(lane.now, op.start);
    op.result = result;
    op.hasExit = true;
    op.lastLine = number;
    if (IsExecuteExport(op.name)) {
        op.procedure = detail.empty() ? frame.firstChild : std::string(detail);
    }
    _sink.OnOperation(op);
    OpenFrame* parent = ParentOf(lane, frame);
    if (parent != nullptr && parent->firstChild.empty() && op.kind == OpKind::Procedure) {
        parent->firstChild = op.name;
    }
    if (op.Failed()) {
        HandOn(lane, frame, MakeFailure(lane, frame));
    } else {
        // Handled inside: its failed children are failures of their own.
        for (Failure& f : frame.pending) {
            _sink.OnFailure(f);
        }
    }
    if (parent != nullptr) {
        parent->directSince = parent->chain.size();
    }
}

Failure OperationPairing::MakeFailure(const Lane& lane, const OpenFrame& frame) const {
    Failure f;
    f.operation = frame.op.id;
    f.name = frame.op.name;
    f.procedure = frame.op.procedure;
    f.hasResult = frame.op.hasExit;
    f.result = frame.op.result;
    f.lane = lane.info.id;
    f.time = frame.op.end;
    f.line = frame.op.hasExit ? frame.op.lastLine : frame.op.firstLine;
    for (const OpenFrame& ancestor : lane.stack) {
        if (&ancestor == &frame) {
            break;
        }
        f.path += PathElement(ancestor.op) + " > ";
    }
    f.path += PathElement(frame.op);
    if (!frame.pending.empty()) {
        const Failure& inner = frame.pending.back();
        f.innermost = inner.innermost.empty() ? inner.name : inner.innermost;
    }
    f.chain = frame.chain;
    f.chainDropped = frame.chainDropped;
    return f;
}

OpenFrame* OperationPairing::ParentOf(Lane& lane, const OpenFrame& frame) {
    OpenFrame* parent = nullptr;
    for (OpenFrame& f : lane.stack) {
        if (&f == &frame) {
            return parent;
        }
        parent = &f;   // a frame that was never on the stack: the top is its parent
    }
    return parent;
}

// A failure goes up to the parent frame, which reports it if it fails too; a frame of
// the top level reports it at once.
void OperationPairing::HandOn(Lane& lane, OpenFrame& frame, Failure failure) {
    OpenFrame* parent = ParentOf(lane, frame);
    // An export is called by the program, never inside another frame of its process:
    // found inside one, it is another process's, and its failure is its own.
    if (parent == nullptr || frame.op.kind == OpKind::Export) {
        _sink.OnFailure(failure);
        return;
    }
    for (ChainLine& c : frame.chain) {
        AddChainLine(parent->chain, parent->chainDropped, std::move(c));
    }
    parent->chainDropped += frame.chainDropped;
    if (parent->pending.size() < kMaxPending) {
        parent->pending.push_back(std::move(failure));
    } else {
        ++_notes.failuresNotKept;
    }
}

void OperationPairing::Abandon(Lane& lane, OpenFrame& frame) {
    Operation& op = frame.op;
    op.hasExit = false;
    op.end = std::max(lane.now, op.start);
    op.lastLine = lane.info.lastLine;
    ++_notes.entriesWithoutExit;
    if (_notes.unpairedEntries.size() < Notes::kExamples) {
        _notes.unpairedEntries.emplace_back(op.firstLine, op.name);
    }
    _sink.OnOperation(op);
    OpenFrame* parent = ParentOf(lane, frame);
    if (parent != nullptr && parent->firstChild.empty() && op.kind == OpKind::Procedure) {
        parent->firstChild = op.name;
    }
    if (!frame.chain.empty() || !frame.pending.empty()) {
        HandOn(lane, frame, MakeFailure(lane, frame));
    }
}

void OperationPairing::FailureLine(Lane& lane, std::string_view body, std::uint64_t number) {
    ChainLine line{number, std::string(body)};
    if (!lane.stack.empty()) {
        OpenFrame& top = lane.stack.back();
        AddChainLine(top.chain, top.chainDropped, std::move(line));
        return;
    }
    if (!lane.orphanOpen) {
        lane.orphan = Failure();
        lane.orphan.path = "(outside any frame)";
        lane.orphan.lane = lane.info.id;
        lane.orphan.time = lane.now;
        lane.orphan.line = number;
        lane.orphanOpen = true;
    }
    AddChainLine(lane.orphan.chain, lane.orphan.chainDropped, std::move(line));
}

void OperationPairing::OtherLine(Lane& lane) {
    FlushOrphan(lane);
}

void OperationPairing::FlushOrphan(Lane& lane) {
    if (lane.orphanOpen) {
        lane.orphanOpen = false;
        _sink.OnFailure(lane.orphan);
        lane.orphan = Failure();
    }
}

void OperationPairing::EndLane(Lane& lane, Lane* heir) {
    FlushOrphan(lane);
    if (heir != nullptr) {
        // Frames opened while several processes ran may be the others': they go on.
        std::vector<OpenFrame> kept;
        for (OpenFrame& f : lane.stack) {
            if (f.contested) {
                kept.push_back(std::move(f));
            }
        }
        lane.stack.erase(std::remove_if(lane.stack.begin(), lane.stack.end(),
                                        [](const OpenFrame& f) { return f.contested; }),
                         lane.stack.end());
        for (OpenFrame& f : kept) {
            f.op.lane = heir->info.id;
            heir->stack.push_back(std::move(f));
        }
    }
    while (!lane.stack.empty()) {
        Abandon(lane, lane.stack.back());
        lane.stack.pop_back();
    }
}

}  // namespace logreport
