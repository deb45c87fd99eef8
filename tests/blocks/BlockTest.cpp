// The named block classes: their names, mutex names and sizes (an interface shared by
// every module and process), creation and release, Set and Get.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "common/SharedMemory.h"
#include "support/TestSupport.h"

namespace {

struct NamedBlock {
    const char* name;
    const char* mutexName;
    unsigned long size;
    std::function<std::unique_ptr<CSharedMemory>()> make;
};

template <class Block>
std::function<std::unique_ptr<CSharedMemory>()> Maker() {
    return [] { return std::unique_ptr<CSharedMemory>(new Block); };
}

const NamedBlock kNamedBlocks[] = {
    {"SHARED_NAME_HANDLE", "MUTEX_NAME_HANDLE", 4, Maker<CCommonModuleSharedMemory>()},
    {"SHARED_NAME_MODELID", "MUTEX_NAME_MODELID", 4, Maker<CModelIDSharedMemory>()},
    {"SHARED_NAME_BODYID", "MUTEX_NAME_BODYID", 8, Maker<CBodyIDSharedMemory>()},
    {"SHARED_NAME_PARSER_HANDLE", "MUTEX_NAME_PARSER_HANDLE", 4,
     Maker<CParserHandleSharedMemory>()},
    {"SHARED_NAME_CONFIGURATION", "MUTEX_NAME_CONFIGURATION", 261,
     Maker<CConfigurationSharedMemory>()},
    {"SHARED_NAME_EVENTPROCNAME", "MUTEX_NAME_EVENTPROCNAME", 128,
     Maker<CEventProcNameSharedMemory>()},
    {"SHARED_NAME_FILE", "MUTEX_NAME_FILE", 261, Maker<CFileSharedMemory>()},
    {"SHARED_NAME_FOLDER", "MUTEX_NAME_FOLDER", 261, Maker<CFolderSharedMemory>()},
    {"SHARED_NAME_KVTItoPTP", "MUTEX_NAME_KVTItoPTP", 261, Maker<CKVTItoPTPSharedMemory>()},
    {"SHARED_NAME_CameraHandle", "MUTEX_NAME_CameraHandle", 261,
     Maker<CCameraHandleSharedMemory>()},
};

bool MappingExists(const std::string& name) {
    kvt::UniqueKernelHandle h(::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    return h.Valid();
}

std::string UniqueName(const char* stem) {
    return std::string(stem) + "_" + std::to_string(::GetCurrentProcessId());
}

}  // namespace

// Other processes may hold these blocks at the same time: the test only reads them.
TEST(NamedBlocks, EachClassOpensItsNamedMappingAndMutex) {
    for (const NamedBlock& b : kNamedBlocks) {
        SCOPED_TRACE(b.name);
        std::unique_ptr<CSharedMemory> block = b.make();
        ASSERT_NE(block->GetpSharedMemory(), nullptr);
        EXPECT_NE(block->GethSharedMemory(), nullptr);
        EXPECT_NE(block->GethMutex(), nullptr);
        EXPECT_EQ(block->GetSize(), b.size);

        kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, b.name));
        ASSERT_TRUE(mapping.Valid());
        kvt::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, b.size));
        ASSERT_TRUE(view.Valid());
        kvt::UniqueKernelHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, b.mutexName));
        EXPECT_TRUE(mutex.Valid());

        kvt::BlockAccess access(*block);
        ASSERT_TRUE(access.Valid());
        EXPECT_EQ(std::string(static_cast<const char*>(view.Get()), b.size),
                  std::string(reinterpret_cast<const char*>(access.Data()), b.size));
    }
}

TEST(NamedBlocks, DestructorReleasesTheBlock) {
    { CKVTItoPTPSharedMemory block; }
    EXPECT_FALSE(MappingExists("SHARED_NAME_KVTItoPTP"));
}

TEST(SharedMemory, ViewExistsOnlyBetweenMallocAndFree) {
    const std::string name = UniqueName("KVT_TEST_LIFE");
    CSharedMemory block;
    EXPECT_EQ(block.GetpSharedMemory(), nullptr);
    EXPECT_EQ(block.GethSharedMemory(), nullptr);
    ASSERT_EQ(block.MallocSharedMemory(16, name.c_str(), (name + "_M").c_str()), 1);
    EXPECT_NE(block.GetpSharedMemory(), nullptr);
    block.FreeSharedMemory();
    EXPECT_EQ(block.GetpSharedMemory(), nullptr);
    EXPECT_EQ(block.GethSharedMemory(), nullptr);
    EXPECT_EQ(block.GethMutex(), nullptr);
    EXPECT_EQ(block.GetSize(), 0u);
    EXPECT_FALSE(MappingExists(name));
}

TEST(SharedMemory, RefusesMissingNameAndZeroSize) {
    CSharedMemory block;
    EXPECT_EQ(block.MallocSharedMemory(16, nullptr, "KVT_TEST_NONAME_M"), 0);
    EXPECT_EQ(block.MallocSharedMemory(0, UniqueName("KVT_TEST_ZERO").c_str(), nullptr), 0);
    EXPECT_EQ(block.GetpSharedMemory(), nullptr);
}

// A plain CSharedMemory used to keep its block (and its content) alive after it was
// destroyed; now the destructor releases what the object still holds.
TEST(SharedMemory, PlainObjectReleasesItsBlockOnDestruction) {
    const std::string name = UniqueName("KVT_TEST_PLAIN");
    {
        CSharedMemory block;
        ASSERT_EQ(block.MallocSharedMemory(4, name.c_str(), (name + "_M").c_str()), 1);
    }
    EXPECT_FALSE(MappingExists(name));
}

TEST(SharedMemory, SecondMallocReleasesTheFirstBlock) {
    const std::string first = UniqueName("KVT_TEST_FIRST");
    const std::string second = UniqueName("KVT_TEST_SECOND");
    CSharedMemory block;
    ASSERT_EQ(block.MallocSharedMemory(4, first.c_str(), (first + "_M").c_str()), 1);
    ASSERT_EQ(block.MallocSharedMemory(4, second.c_str(), (second + "_M").c_str()), 1);
    EXPECT_FALSE(MappingExists(first));
    EXPECT_TRUE(MappingExists(second));
}

TEST(SharedMemory, FirstCreatorZeroFillsLaterOpenersKeepContent) {
    const std::string name = UniqueName("KVT_TEST_ZEROS");
    const std::string mutexName = name + "_M";
    const std::uint32_t value = 0xA5A5A5A5u;
    {
        CSharedMemory first;
        ASSERT_EQ(first.MallocSharedMemory(64, name.c_str(), mutexName.c_str()), 1);
        {
            kvt::BlockAccess access(first);
            for (std::size_t i = 0; i < 64; ++i) {
                EXPECT_EQ(access.Data()[i], 0) << "byte " << i;
            }
            ASSERT_TRUE(access.Write(value, 60));
        }
        CSharedMemory second;
        ASSERT_EQ(second.MallocSharedMemory(64, name.c_str(), mutexName.c_str()), 1);
        std::uint32_t seen = 0;
        EXPECT_TRUE(kvt::BlockAccess(second).Read(seen, 60));
        EXPECT_EQ(seen, value);
    }
    CSharedMemory again;
    ASSERT_EQ(again.MallocSharedMemory(64, name.c_str(), mutexName.c_str()), 1);
    std::uint32_t seen = 1;
    EXPECT_TRUE(kvt::BlockAccess(again).Read(seen, 60));
    EXPECT_EQ(seen, 0u);
}

TEST(NamedBlocks, SetAndGetShareTheFirstWordAcrossObjects) {
    CCameraHandleSharedMemory writer;
    unsigned long stored = 0x89ABCDEFul;
    ASSERT_TRUE(writer.Set(&stored));
    CCameraHandleSharedMemory reader;
    unsigned long seen = 0;
    ASSERT_TRUE(reader.Get(&seen));
    EXPECT_EQ(seen, stored);
    std::uint32_t word = 0;
    ASSERT_TRUE(kvt::BlockAccess(reader).Read(word));
    EXPECT_EQ(word, 0x89ABCDEFu);

    HINSTANCE module = kvt::WordToModuleHandle(0x13000000u);
    CKVTItoPTPSharedMemory transport;
    ASSERT_TRUE(transport.Set(&module));
    HINSTANCE back = nullptr;
    ASSERT_TRUE(CKVTItoPTPSharedMemory().Get(&back));
    EXPECT_EQ(back, module);
}

TEST(NamedBlocks, ModuleHandleAbove4GBIsRefusedNotCut) {
    if (sizeof(HINSTANCE) == 4) {
        GTEST_SKIP() << "a 32-bit module handle always fits the block";
    }
    CKVTItoPTPSharedMemory block;
    HINSTANCE fits = kvt::WordToModuleHandle(0x13000000u);
    ASSERT_TRUE(block.Set(&fits));
    HINSTANCE tooLarge =
        reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x113000000ull));
    EXPECT_FALSE(block.Set(&tooLarge));
    HINSTANCE seen = nullptr;
    ASSERT_TRUE(block.Get(&seen));
    EXPECT_EQ(seen, fits) << "a refused handle must leave the block as it was";

    const auto lines = kvttest::ReadLogLines(kvttest::CurrentDir() + "KvtDll.log");
    EXPECT_GE(kvttest::FindLine(lines, "[ERR!] - [VALU] CKVTItoPTPSharedMemory::Set - module "
                                       "handle does not fit 32 bits"),
              0);
}

TEST(NamedBlocks, NullPointersAreRefused) {
    CKVTItoPTPSharedMemory transport;
    CCameraHandleSharedMemory camera;
    EXPECT_FALSE(transport.Set(nullptr));
    EXPECT_FALSE(transport.Get(nullptr));
    EXPECT_FALSE(camera.Set(nullptr));
    EXPECT_FALSE(camera.Get(nullptr));
}
