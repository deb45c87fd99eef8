// CTransparentMemory on the simulated camera: what each member sends, the attached name
// the destructor removes, and the reads bounded by the block's size.
#include <cstring>
#include <memory>
#include <type_traits>

#include "camera/CameraFixture.h"
#include "core/camera/TransparentMemory.h"

namespace {

using cameratest::Catch;
using cameratest::Raised;

static_assert(!std::is_copy_constructible_v<CTransparentMemory> &&
                  !std::is_copy_assignable_v<CTransparentMemory>,
              "a copy would free the implementation object twice");

// Processor 0 memory at 0x1000 for the blocks of the tests.
const std::string kMemory = std::string(cameratest::kBaseScenario) +
                            "[Camera0.Memory0]\n0x1000 = 01 02 03 04 05 06 07 08\n";

class TransparentMemoryTest : public cameratest::CameraTest {
protected:
    void SetUp() override {
        cameratest::CameraTest::SetUp();
        ASSERT_TRUE(sim.Load(kMemory)) << sim.Error();
        NewLogLines();
    }
    unsigned Registered() const { return sim.State(0, "TransMemoryCount"); }
};

TEST_F(TransparentMemoryTest, TheDestructorRemovesTheLastAttachedNameOnly) {
    { CTransparentMemory unused; }
    EXPECT_EQ(Trace(), "");
    {
        CTransparentMemory memory;
        memory.Attach("A", 0x1000, 8);
        memory.Add("B", 0x1004, 4);
        EXPECT_EQ(Registered(), 2u);
    }
    EXPECT_EQ(Trace(), "AttachToTransMemory(\"A\",4096,8) AddTransMemory(\"B\",4100,4) "
                       "RemoveTransMemory(\"B\")");
    EXPECT_EQ(Registered(), 1u);   // A was replaced as the attached name, not removed
}

TEST_F(TransparentMemoryTest, ARefusedRegistrationKeepsTheEarlierName) {
    {
        CTransparentMemory memory;
        memory.Attach("A", 0x1000, 8);
        ASSERT_TRUE(sim.ForceResult(0, "AttachToTransMemory", 1, 5));
        EXPECT_EQ(Catch([&] { memory.Attach("C", 0x1000, 4); }),
                  (Raised{5, "[EVNT] AttachToTransMemory"}));
        EXPECT_EQ(Catch([&] { memory.Add("A", 0x1000, 4); }),   // A exists: refused
                  (Raised{1, "[EVNT] AddTransMemory"}));
        sim.ClearJournal();
    }
    EXPECT_EQ(Trace(), "RemoveTransMemory(\"A\")");
    EXPECT_EQ(Registered(), 0u);
}

TEST_F(TransparentMemoryTest, ARefusedRemoveStillForgetsTheName) {
    {
        CTransparentMemory memory;
        memory.Attach("A", 0x1000, 8);
        EXPECT_EQ(Catch([&] { memory.Remove("Z"); }), (Raised{1, "[EVNT] RemoveTransMemory"}));
        sim.ClearJournal();
        EXPECT_EQ(Catch([&] { memory.Remove(); }), Raised{});
    }
    EXPECT_EQ(Trace(), "");   // neither Remove() nor the destructor sends anything
    EXPECT_EQ(Registered(), 1u);
}

TEST_F(TransparentMemoryTest, RemoveWithoutANameRemovesTheAttachedOneOnce) {
    {
        CTransparentMemory memory;
        memory.Attach("A", 0x1000, 8);
        memory.Remove();
        memory.Remove();
    }
    EXPECT_EQ(Trace(), "AttachToTransMemory(\"A\",4096,8) RemoveTransMemory(\"A\")");
    // Its result is not judged, and the destructor does not ask again.
    {
        CTransparentMemory memory;
        memory.Attach("B", 0x1000, 8);
        ASSERT_TRUE(sim.ForceResult(0, "RemoveTransMemory", 1, 1));
        sim.ClearJournal();
        EXPECT_EQ(Catch([&] { memory.Remove(); }), Raised{});
    }
    EXPECT_EQ(Trace(), "RemoveTransMemory(\"B\")");
}

TEST_F(TransparentMemoryTest, PositionAndSizeOfABlock) {
    CTransparentMemory memory;
    memory.Attach("A", 0x1000, 8);
    memory.Attach("Zero", 0, 4);
    unsigned position = 7;
    unsigned size = 0;
    memory.QueryPosition("A", &position);
    memory.QuerySize("A", &size);
    EXPECT_EQ(position, 0x1000u);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(Catch([&] { memory.QueryPosition("Zero", &position); }),
              (Raised{35, "[VALU] *pPosition"}));
    EXPECT_EQ(position, 0u);
    EXPECT_EQ(Catch([&] { memory.QueryPosition("Unknown", &position); }),
              (Raised{35, "[VALU] *pPosition"}));
}

TEST_F(TransparentMemoryTest, ReadsTakeExactlyTheBlockSize) {
    CTransparentMemory memory;
    memory.Attach("A", 0x1000, 8);

    unsigned char* allocated = nullptr;
    memory.Read("A", &allocated, 8);
    ASSERT_NE(allocated, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(allocated), 8), "\x01\x02\x03\x04\x05\x06\x07\x08");
    delete[] allocated;

    unsigned char buffer[8] = {};
    memory.Read("A", buffer, 8);
    EXPECT_EQ(buffer[7], 0x08);

    // One byte short of the block: refused, nothing read, nothing allocated.
    const unsigned reads = Calls("k2pExecuteGetMemoryData");
    unsigned char untouched[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(Catch([&] { memory.Read("A", untouched, 7); }), (Raised{35, "[VALU] DataSize"}));
    EXPECT_EQ(untouched[0], 0xEE);
    allocated = reinterpret_cast<unsigned char*>(untouched);
    EXPECT_EQ(Catch([&] { memory.Read("A", &allocated, 9); }), (Raised{35, "[VALU] DataSize"}));
    EXPECT_EQ(allocated, nullptr);
    EXPECT_EQ(Calls("k2pExecuteGetMemoryData"), reads);
}

TEST_F(TransparentMemoryTest, NullOutputPointersAreRefusedBeforeAnythingIsSent) {
    CTransparentMemory memory;
    const struct {
        std::function<void()> call;
        Raised raised;
    } cases[] = {
        {[&] { memory.QuerySize("A", nullptr); }, {3, "[VALU] pDataSize"}},
        {[&] { memory.QueryPosition("A", nullptr); }, {3, "[VALU] pPosition"}},
        {[&] { memory.Read("A", static_cast<unsigned char**>(nullptr), 8); }, {3, "[VALU] ppData"}},
        {[&] { memory.Read("A", static_cast<void*>(nullptr), 8); }, {3, "[VALU] pData"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Catch(c.call), c.raised);
    }
    EXPECT_EQ(sim.Journal().size(), 0u);
}

// The destructor cannot raise: a failed removal becomes two log lines.
TEST_F(TransparentMemoryTest, AFailingRemovalInTheDestructorIsLogged) {
    auto memory = std::make_unique<CTransparentMemory>();
    memory->Attach("A", 0x1000, 8);
    NewLogLines();
    ASSERT_TRUE(sim.SetFault("k2pClearRemoteEventProcedureParameter", 1, 119));
    EXPECT_EQ(Catch([&] { memory.reset(); }), Raised{});
    EXPECT_EQ(NewLogLines(),
              (std::vector<std::string>{"[ERR!] - [FUNC] ClearRemoteEventProcedureParameter",
                                        "[ERR!] - [FUNC] CTransparentMemory::~CTransparentMemory"}));
    EXPECT_EQ(Registered(), 1u);
}

}  // namespace
