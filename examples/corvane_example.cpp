// corvane_example: a C++ program on Corvane's exported classes, without the factory
// API: opens the device through Corvane, reads the body number property through
// CPublicProperty and prints it.
//
//     corvane_example
//
// Corvane's classes pass std::string and throw CException* across its interface, so a
// program using them is built with the same MinGW-w64 g++ (posix threads, C++17) as the
// toolkit. From the deploy folder:
//     i686-w64-mingw32-g++-posix -std=c++17 -Isdk/include/corvane
//         sdk/examples/corvane_example.cpp -Lsdk/lib -lCorvane
//         -static -o corvane_example.exe
#include <cstdio>

#include "core/camera/Property.h"
#include "core/device/DeviceLifecycle.h"

namespace {

constexpr unsigned kPropBodyID = 0x01000006;   // 8 bytes: high word first

}  // namespace

int main() {
    const int opened = OpenDevice();
    std::printf("OpenDevice = %d\n", opened);
    if (opened != 0) {
        return 1;
    }
    int status = 0;
    try {
        CPublicProperty property;
        unsigned char bytes[8] = {};
        property.Get(kPropBodyID, 8u, bytes);
        unsigned long long high = 0;
        unsigned long long low = 0;
        for (int i = 0; i < 4; ++i) {
            high |= static_cast<unsigned long long>(bytes[i]) << (8 * i);
            low |= static_cast<unsigned long long>(bytes[4 + i]) << (8 * i);
        }
        std::printf("body number = %llu\n", (high << 32) | low);
    } catch (CException* e) {
        std::printf("failed: %s (%lu)\n", e->Message().c_str(),
                    static_cast<unsigned long>(e->Code()));
        delete e;
        status = 1;
    }
    std::printf("CloseDevice = %d\n", CloseDevice());
    return status;
}
