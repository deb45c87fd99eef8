// CReleaseCoreParameter: words 0 to 7 of a ReleaseParameter, the mode word and the
// seven shooting values, each in its own 4-byte public property.
//
// A set writes the mode word, waits, writes values 1 to 3, waits, writes values 4 to 7;
// the mode word decides which values are left out (3: values 1 and 7; 1: value 6;
// 2: value 5), and the Ex flag leaves value 6 out as well. The two pauses happen
// whether or not anything was written.
//
// Lives for one export call; every object starts from the camera's default values.
#pragma once

#include <cstdint>

#include "core/camera/Property.h"
#include "factory_api/ReleaseParameter.h"

class CReleaseCoreParameter : public CPublicProperty {
public:
    CReleaseCoreParameter();
    virtual ~CReleaseCoreParameter();

    CReleaseCoreParameter(const CReleaseCoreParameter&) = delete;
    CReleaseCoreParameter& operator=(const CReleaseCoreParameter&) = delete;

    // Leaves property 0x80000006 (value 6) unwritten by every later Send.
    void SetExFlag() { _Flag[kExFlag] = true; }

    // Core set from words 0 to 7.
    void Send(const ReleaseParameter& record);
    // Core get into words 0 to 7 (written only when all eight reads succeeded).
    void Receive(ReleaseParameter& record);

private:
    static constexpr unsigned kExFlag = 8;

    void _ApplyModeRule();
    // Writes value i if its flag is set, and clears the flag.
    void _SendValue(unsigned i);

    std::uint32_t _Value[kvtq517::kCoreWordCount];
    bool _Flag[kvtq517::kCoreWordCount + 1];
};
