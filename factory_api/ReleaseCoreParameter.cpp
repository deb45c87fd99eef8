#include "factory_api/ReleaseCoreParameter.h"

#include "factory_api/FixedPause.h"

namespace {

// The property of each core value, in value order.
constexpr unsigned kCoreProperty[kvtq517::kCoreWordCount] = {
    0x80000000,  // mode word
    0x80000002, 0x80000003, 0x8000000D,
    0x80000007, 0x80000005, 0x80000006, 0x80000008,
};

constexpr std::uint32_t kCoreStart[kvtq517::kCoreWordCount] = {3, 5, 0, 0, 72, 120, 20, 0};

}  // namespace

CReleaseCoreParameter::CReleaseCoreParameter() : CPublicProperty() {
    for (unsigned i = 0; i < kvtq517::kCoreWordCount; ++i) {
        _Value[i] = kCoreStart[i];
    }
    for (bool& flag : _Flag) {
        flag = false;
    }
}

CReleaseCoreParameter::~CReleaseCoreParameter() = default;

void CReleaseCoreParameter::_ApplyModeRule() {
    switch (_Value[0]) {
    case 3: _Flag[7] = false; _Flag[1] = false; break;
    case 1: _Flag[6] = false; break;
    case 2: _Flag[5] = false; break;
    default: break;
    }
    if (_Flag[kExFlag]) {
        _Flag[6] = false;
    }
}

void CReleaseCoreParameter::_SendValue(unsigned i) {
    if (_Flag[i]) {
        Set(kCoreProperty[i], 4u, static_cast<unsigned>(_Value[i]));
        _Flag[i] = false;
    }
}

void CReleaseCoreParameter::Send(const ReleaseParameter& record) {
    for (unsigned i = 0; i < kvtq517::kCoreWordCount; ++i) {
        _Value[i] = record.Word[i];
        _Flag[i] = true;
    }
    _ApplyModeRule();

    _SendValue(0);
    kvtq517::WaitBetweenReleaseWrites();
    for (unsigned i = 1; i <= 3; ++i) {
        _SendValue(i);
    }
    kvtq517::WaitBetweenReleaseWrites();
    for (unsigned i = 4; i <= 7; ++i) {
        _SendValue(i);
    }
}

void CReleaseCoreParameter::Receive(ReleaseParameter& record) {
    for (unsigned i = 0; i < kvtq517::kCoreWordCount; ++i) {
        std::uint32_t value = 0;   // a shorter answer leaves the high bytes zero
        Get(kCoreProperty[i], 4u, &value);
        _Flag[i] = value != _Value[i];
        _Value[i] = value;
    }
    for (unsigned i = 0; i < kvtq517::kCoreWordCount; ++i) {
        record.Word[i] = _Value[i];
    }
}
