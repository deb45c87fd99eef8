#include "simulator/camera/ProcedureArgs.h"

#include <cstring>

namespace kvtsim {

bool Args::Int(std::size_t i, std::uint32_t* value) const {
    if (i >= _params.size() || _params[i].type > kParamInt32) {
        return false;
    }
    const Bytes& d = _params[i].data;
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < d.size() && k < 4; ++k) {
        v |= static_cast<std::uint32_t>(d[k]) << (8 * k);
    }
    *value = v;
    return true;
}

const Bytes* Args::Block(std::size_t i) const {
    if (i >= _params.size() || _params[i].type != kParamBlock) {
        return nullptr;
    }
    return &_params[i].data;
}

bool Args::Text(std::size_t i, std::string* text) const {
    const Bytes* b = Block(i);
    if (b == nullptr) {
        return false;
    }
    const void* end = b->empty() ? nullptr : std::memchr(b->data(), 0, b->size());
    std::size_t n = end ? static_cast<const std::uint8_t*>(end) - b->data() : b->size();
    text->assign(reinterpret_cast<const char*>(b->data()), n);
    return true;
}

}  // namespace kvtsim
