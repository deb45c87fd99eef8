// Fixture of the simulator tests: the test program links KVTItoPTP.dll, loads a
// scenario, initialises the transport and connects every camera.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/transport/TransportApi.h"
#include "simulator/camera/SimControl.h"
#include "support/SimCamera.h"

#include <type_traits>

// The transport functions, linked from the library with the interface's own types.
extern "C" {
__declspec(dllimport) std::remove_pointer_t<k2pInitialize_t> k2pInitialize;
__declspec(dllimport) std::remove_pointer_t<k2pTerminate_t> k2pTerminate;
__declspec(dllimport) std::remove_pointer_t<k2pGetDeviceInfoArray_t> k2pGetDeviceInfoArray;
__declspec(dllimport) std::remove_pointer_t<k2pConnectCamera_t> k2pConnectCamera;
__declspec(dllimport) std::remove_pointer_t<k2pClearRemoteEventProcedureParameter_t>
    k2pClearRemoteEventProcedureParameter;
__declspec(dllimport) std::remove_pointer_t<k2pPushRemoteEventProcedureSendParameter_t>
    k2pPushRemoteEventProcedureSendParameter;
__declspec(dllimport) std::remove_pointer_t<k2pExecuteRemoteEventProcedure_t>
    k2pExecuteRemoteEventProcedure;
__declspec(dllimport) std::remove_pointer_t<k2pGetReturnDataSize_t> k2pGetReturnDataSize;
__declspec(dllimport) std::remove_pointer_t<k2pGetReturnDataForExecuteRemoteEventProcedure_t>
    k2pGetReturnDataForExecuteRemoteEventProcedure;
__declspec(dllimport) std::remove_pointer_t<k2pGetSizeOfMemoryData_t> k2pGetSizeOfMemoryData;
__declspec(dllimport) std::remove_pointer_t<k2pExecuteGetMemoryData_t> k2pExecuteGetMemoryData;
}

namespace simtest {

// One typed parameter for Run().
struct P {
    unsigned type;
    std::string bytes;
};
P I32(std::uint32_t v);
P I16(std::uint16_t v);
P I8(std::uint8_t v);
P Block(const std::string& bytes);
P Text(const std::string& text);  // with its terminating zero

struct Ran {
    unsigned status = ~0u;
    std::uint32_t result = ~0u;
    std::string data;  // the return data, for runs with the flag 1
};

std::string Le32(std::uint32_t v);

class SimTest : public ::testing::Test {
protected:
    // A scenario for every test of the fixture; the default is one empty camera.
    virtual std::string Scenario() const { return "[Camera0]\nTemplate = empty\n"; }
    void SetUp() override;
    void TearDown() override;

    unsigned Handle(unsigned camera = 0) const { return handles.at(camera); }
    // Clears, pushes, executes; with `withData` fetches the return data too.
    Ran Run(const std::string& name, const std::vector<P>& params, bool withData = false,
            unsigned camera = 0);
    Ran Get(const std::string& name, const std::vector<P>& params, unsigned camera = 0) {
        return Run(name, params, true, camera);
    }
    // Connects every enumerated camera into `handles`.
    void ConnectAll();

    kvttest::SimCamera sim;
    std::vector<unsigned> handles;
};

}  // namespace simtest
