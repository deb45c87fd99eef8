// The parameters pushed for one camera-side procedure, as the handlers read them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/camera/Bytes.h"

namespace kvtsim {

// Type codes of the transport: 0, 1, 2 = integer of 1, 2, 4 bytes, 4 = byte block.
constexpr unsigned kParamInt8 = 0;
constexpr unsigned kParamInt16 = 1;
constexpr unsigned kParamInt32 = 2;
constexpr unsigned kParamBlock = 4;

struct Param {
    unsigned type = 0;
    Bytes data;
};

// Read access to a parameter list. An integer parameter of any width reads as its
// little-endian value, zero-extended; a handler that finds a parameter missing or of
// the wrong kind refuses the call.
class Args {
public:
    explicit Args(const std::vector<Param>& params) : _params(params) {}

    std::size_t Count() const { return _params.size(); }
    bool Int(std::size_t i, std::uint32_t* value) const;
    const Bytes* Block(std::size_t i) const;  // null unless parameter i is a block
    // A block read as a zero-terminated text (up to its first zero byte).
    bool Text(std::size_t i, std::string* text) const;

private:
    const std::vector<Param>& _params;
};

}  // namespace kvtsim
