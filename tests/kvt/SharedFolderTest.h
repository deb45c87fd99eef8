// A test suite whose tests share one copy of the deploy folder, made once for the
// suite; each test starts with the shipped scenario of the simulated camera.
//
//   class KvtCommands : public kvtclitest::SharedFolderTest<KvtCommands> {
//   public:
//       static constexpr const char* kPrefix = "kvt";
//   };
#pragma once

#include <gtest/gtest.h>

#include "tests/kvt/KvtFolder.h"

namespace kvtclitest {

template <class Suite>
class SharedFolderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_folder = new KvtFolder(Suite::kPrefix); }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(s_folder->Ok()) << "cannot copy the deploy folder";
        s_folder->UseShippedScenario();
    }

    static KvtFolder* s_folder;
};

template <class Suite>
KvtFolder* SharedFolderTest<Suite>::s_folder = nullptr;

}  // namespace kvtclitest
