// A failed transport status at any position of an operation's call sequence surfaces
// with that status as code, stops the operation there, and leaves the process working.
#include <map>
#include <memory>
#include <set>
#include <string>

#include "camera/CameraFixture.h"
#include "core/camera/Property.h"
#include "core/camera/SLRMonitor.h"

namespace {

using cameratest::Catch;

using Operation = std::function<void()>;

struct Sweep {
    const char* name;
    // Prepares the camera and the objects, and returns the operation to sweep.
    std::function<Operation()> arrange;
};

std::shared_ptr<CSLRMonitor> OpenMonitor(unsigned bank) {
    auto monitor = std::make_shared<CSLRMonitor>();
    monitor->OpenSession();
    monitor->ChangeBank(static_cast<SLR_MONITOR::tagBANK_KIND_T>(bank));
    return monitor;
}

const unsigned kPropertyId = 0x0100000A;

std::vector<Sweep> Sweeps() {
    return {
        {"OpenSession",
         [] {
             auto m = std::make_shared<CSLRMonitor>();
             return Operation([m] { m->OpenSession(); });
         }},
        {"CloseSession",
         [] {
             auto m = OpenMonitor(0xEE);
             return Operation([m] { m->CloseSession(); });
         }},
        {"ReadMemory",
         [] {
             auto m = OpenMonitor(0xC3);
             return Operation([m] {
                 unsigned char data[8];
                 unsigned size = 8;
                 m->ReadMemory(0x10, size, data);
             });
         }},
        {"WriteMemory",
         [] {
             auto m = OpenMonitor(0xFC);
             return Operation([m] {
                 unsigned char data[4] = {1, 2, 3, 4};
                 m->WriteMemory(0x10, 4, data);
             });
         }},
        {"CallFunction",
         [] {
             auto m = OpenMonitor(0xEE);
             return Operation([m] { m->CallFunction(3); });
         }},
        {"Property::Set",
         [] {
             auto p = std::make_shared<CPublicProperty>();
             return Operation([p] { p->Set(kPropertyId, 4, 7u); });
         }},
        {"Property::Get",
         [] {
             auto p = std::make_shared<CPrivateProperty>();
             return Operation([p] {
                 unsigned char data[4];
                 unsigned size = 4;
                 p->Get(kPropertyId, size, data);
             });
         }},
        {"Property::Save", [] { return Operation([] { CProperty::Save(kPropertyId); }); }},
        {"Property::Load", [] { return Operation([] { CProperty::Load(kPropertyId); }); }},
        {"Property::Setup",
         [] {
             CProperty::Initialize();
             auto p = std::make_shared<CAdapterProperty>();
             return Operation([p] { p->Setup(); });
         }},
        {"Property::GetSize",
         [] {
             auto p = std::make_shared<CPublicProperty>();
             return Operation([p] { p->GetSize(kPropertyId); });
         }},
        {"Property::GetOffset",
         [] {
             auto p = std::make_shared<CPublicProperty>();
             return Operation([p] { p->GetOffset(kPropertyId, "DeltaX"); });
         }},
        {"Property::SaveList",
         [] {
             auto p = std::make_shared<CPublicProperty>();
             p->InitializeList(10);
             for (unsigned id = 1; id <= 10; ++id) {
                 p->PushList(id);
             }
             return Operation([p] { p->SaveList(); });
         }},
    };
}

// The messages the procedure client raises for a failed status of each transport call
// (the step names differ between its members, and the byte-block push keeps its own
// spelling). A monitor or property member must pass them on unchanged, not re-wrap
// them under its own name.
bool IsClientMessage(const std::string& function, const std::string& message) {
    static const std::map<std::string, std::set<std::string>> kMessages = {
        {"k2pClearRemoteEventProcedureParameter", {"[FUNC] ClearRemoteEventProcedureParameter"}},
        {"k2pPushRemoteEventProcedureSendParameter",
         {"[FUNC] PushRemoteEventProcedureSendParameter",
          "[FUNC] PushRemoteEvnetProcedureSendParameter"}},
        {"k2pExecuteRemoteEventProcedure",
         {"[FUNC] ExecuteRemoteEventProcedure", "[FUNC] _k2pExecuteRemoteEventProcedure"}},
        {"k2pGetReturnDataSize", {"[FUNC] GetReturnDataSize", "[FUNC] _k2pGetReturnDataSize"}},
        {"k2pGetReturnDataForExecuteRemoteEventProcedure",
         {"[FUNC] GetReturnDataForExecuteRemoteEventProcedure"}},
    };
    const auto found = kMessages.find(function);
    return found != kMessages.end() && found->second.count(message) != 0;
}

class FaultSweepTest : public cameratest::CameraTest {};

TEST_F(FaultSweepTest, EveryTransportCallOfEveryOperation) {
    for (const Sweep& sweep : Sweeps()) {
        // The clean run gives the call sequence.
        ASSERT_TRUE(sim.Load(cameratest::kBaseScenario));
        Operation clean = sweep.arrange();
        sim.ClearJournal();
        ASSERT_EQ(Catch(clean), cameratest::Raised{}) << sweep.name;
        std::vector<std::string> sequence;
        for (const auto& call : sim.Journal()) {
            sequence.push_back(call.function);
        }
        ASSERT_FALSE(sequence.empty()) << sweep.name;

        for (std::size_t i = 0; i < sequence.size(); ++i) {
            unsigned occurrence = 0;
            for (std::size_t k = 0; k <= i; ++k) {
                occurrence += sequence[k] == sequence[i] ? 1u : 0u;
            }
            const unsigned status = 301 + 2 * static_cast<unsigned>(i);
            ASSERT_TRUE(sim.Load(cameratest::kBaseScenario));
            Operation op = sweep.arrange();
            sim.ClearJournal();
            ASSERT_TRUE(sim.SetFault(sequence[i], occurrence, status));
            const cameratest::Raised raised = Catch(op);
            EXPECT_EQ(raised.code, status) << sweep.name << " at call " << i << " ("
                                           << sequence[i] << ")";
            EXPECT_TRUE(IsClientMessage(sequence[i], raised.message))
                << sweep.name << " at call " << i << " (" << sequence[i] << ") raised \""
                << raised.message << "\"";
            const auto journal = sim.Journal();
            ASSERT_EQ(journal.size(), i + 1) << sweep.name << " went on after call " << i;
            EXPECT_TRUE(journal.back().injected) << sweep.name;
        }
    }
}

}  // namespace
