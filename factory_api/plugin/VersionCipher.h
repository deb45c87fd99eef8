// The version list "_Q517_/Property/verck": a sequence of fixed 32-byte fields, each
// a text of at most 31 characters and its terminating zero, stored encoded with one
// substitution table. A plug-in entry is two fields (file name, FileVersion of its
// version resource); a property INI entry is a field whose text contains ".ini" and
// then a field with the registered [Version] FileVersion, stored NOT encoded (the INI
// check reads it as it is).
//
// The table is part of the file format: changing a pair makes every existing list
// unreadable. It maps the 63 characters 0-9, A-Z, a-z and '.' onto themselves (a
// permutation without fixed points); every other character is stored unchanged, so
// encoding is the exact inverse of decoding. Plain C++ without Win32: the version-list
// tool is built from this file for the build machine too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace verck {

constexpr std::size_t kFieldSize = 32;
// The longest text a field holds (its zero takes the last byte).
constexpr std::size_t kMaxFieldText = kFieldSize - 1;

// One substitution: a stored (input) character decodes to `output`. Stored as two
// 32-bit integers, output first.
struct CipherPair {
    std::int32_t output;
    std::int32_t input;
};

constexpr std::size_t kCipherPairCount = 63;
extern const CipherPair kCipherTable[kCipherPairCount];

// The first pair whose input is `c` gives the decoded character; others stay.
char DecodeChar(char c) noexcept;
// The stored character that decodes to `c`.
char EncodeChar(char c) noexcept;

// Encodes `text` into a zero-filled field. False (field zero-filled) if the text is
// longer than 31 characters or contains a zero byte.
bool EncodeField(std::string_view text, char (&field)[kFieldSize]) noexcept;

// The field's text up to its zero, or false if there is no zero within the 32 bytes.
bool FieldText(const char (&field)[kFieldSize], std::string_view& text) noexcept;

}  // namespace verck

// Decodes one field in place and writes "sort ->  <text>" and a line end to standard
// output. 0 on success; 1 (field unchanged) if the field holds no terminating zero
// within its 32 bytes, so a malformed list is never read past a field.
unsigned long Sort(char (&field)[verck::kFieldSize]) noexcept;
