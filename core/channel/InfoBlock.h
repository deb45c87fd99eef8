// The information block "<name>_INFO": seven little-endian 32-bit words shared by all
// openers of a channel. Every process updates them with interlocked operations.
#pragma once

#include "common/Win32.h"

namespace comlib {

constexpr unsigned long kInfoBlockSize = 28;
constexpr LONG kMajorVersion = 5;

enum InfoWord : unsigned {
    kHoldWord = 0,        // 1: writes are refused (set by the reading end)
    kWritingWord = 1,     // 1 while a write waits for its acknowledgement
    kWriteCountWord = 2,  // every write, clear and block sent by the send-buffer thread
    kUnusedWord = 3,
    kPendingWord = 4,     // decremented by the send-buffer thread, never incremented here
    kOpenersWord = 5,     // one per open, minus one per close
    kVersionWord = 6,     // major version; the first opener sets it
};

inline volatile LONG* Word(void* info, InfoWord word) noexcept {
    return static_cast<volatile LONG*>(info) + word;
}
inline LONG ReadWord(void* info, InfoWord word) noexcept {
    return *Word(info, word);
}
inline void WriteWord(void* info, InfoWord word, LONG value) noexcept {
    ::InterlockedExchange(Word(info, word), value);
}
inline void IncrementWord(void* info, InfoWord word) noexcept {
    ::InterlockedIncrement(Word(info, word));
}
// Decrements only while the word is above 0 (a stray close never wraps it).
inline void DecrementWordAboveZero(void* info, InfoWord word) noexcept {
    volatile LONG* p = Word(info, word);
    for (LONG seen = *p; seen > 0; seen = *p) {
        if (::InterlockedCompareExchange(p, seen - 1, seen) == seen) {
            return;
        }
    }
}

}  // namespace comlib
