// Caller memory that ends exactly where a no-access page begins: a read or write one
// byte past it faults at once, so an overrun crashes the driver instead of passing.
#pragma once

#include <cstddef>
#include <string>

namespace robust {

class GuardedBuffer {
public:
    // `size` accessible bytes (zero-filled) right before the guard page; with size 0
    // Data() points at the guard page itself.
    explicit GuardedBuffer(std::size_t size);
    // A zero-terminated text whose terminating zero is the last accessible byte.
    static GuardedBuffer Text(const std::string& text);
    ~GuardedBuffer();
    GuardedBuffer(GuardedBuffer&& other) noexcept;
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(GuardedBuffer&&) = delete;

    unsigned char* Data() const { return _data; }
    const char* Chars() const { return reinterpret_cast<const char*>(_data); }
    std::size_t Size() const { return _size; }
    bool Ok() const { return _base != nullptr; }
    void Fill(unsigned char value);

private:
    void* _base = nullptr;
    unsigned char* _data = nullptr;
    std::size_t _size = 0;
};

}  // namespace robust
