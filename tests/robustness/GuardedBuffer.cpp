#include "robustness/GuardedBuffer.h"

#include <cstring>

#include "common/Win32.h"

namespace robust {
namespace {

std::size_t PageSize() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwPageSize;
}

}  // namespace

GuardedBuffer::GuardedBuffer(std::size_t size) : _size(size) {
    const std::size_t page = PageSize();
    const std::size_t pages = (size + page - 1) / page;
    const std::size_t total = (pages + 1) * page;
    _base = ::VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (_base == nullptr) {
        return;
    }
    unsigned char* guard = static_cast<unsigned char*>(_base) + pages * page;
    DWORD previous = 0;
    if (!::VirtualProtect(guard, page, PAGE_NOACCESS, &previous)) {
        ::VirtualFree(_base, 0, MEM_RELEASE);
        _base = nullptr;
        return;
    }
    _data = guard - size;
}

GuardedBuffer GuardedBuffer::Text(const std::string& text) {
    GuardedBuffer buffer(text.size() + 1);
    if (buffer.Ok()) {
        std::memcpy(buffer._data, text.data(), text.size());
        buffer._data[text.size()] = 0;
    }
    return buffer;
}

GuardedBuffer::GuardedBuffer(GuardedBuffer&& other) noexcept
    : _base(other._base), _data(other._data), _size(other._size) {
    other._base = nullptr;
    other._data = nullptr;
    other._size = 0;
}

GuardedBuffer::~GuardedBuffer() {
    if (_base != nullptr) {
        ::VirtualFree(_base, 0, MEM_RELEASE);
    }
}

void GuardedBuffer::Fill(unsigned char value) {
    if (_size != 0) {
        std::memset(_data, value, _size);
    }
}

}  // namespace robust
