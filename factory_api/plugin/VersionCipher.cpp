#include "factory_api/plugin/VersionCipher.h"

#include <cstdio>
#include <cstring>

namespace verck {

// Pair k decodes the k-th character of "0-9A-Za-z." to the character at (4k + 22)
// mod 63 of the same sequence.
const CipherPair kCipherTable[kCipherPairCount] = {
    {'M', '0'}, {'Q', '1'}, {'U', '2'}, {'Y', '3'}, {'c', '4'}, {'g', '5'}, {'k', '6'},
    {'o', '7'}, {'s', '8'}, {'w', '9'}, {'.', 'A'}, {'3', 'B'}, {'7', 'C'}, {'B', 'D'},
    {'F', 'E'}, {'J', 'F'}, {'N', 'G'}, {'R', 'H'}, {'V', 'I'}, {'Z', 'J'}, {'d', 'K'},
    {'h', 'L'}, {'l', 'M'}, {'p', 'N'}, {'t', 'O'}, {'x', 'P'}, {'0', 'Q'}, {'4', 'R'},
    {'8', 'S'}, {'C', 'T'}, {'G', 'U'}, {'K', 'V'}, {'O', 'W'}, {'S', 'X'}, {'W', 'Y'},
    {'a', 'Z'}, {'e', 'a'}, {'i', 'b'}, {'m', 'c'}, {'q', 'd'}, {'u', 'e'}, {'y', 'f'},
    {'1', 'g'}, {'5', 'h'}, {'9', 'i'}, {'D', 'j'}, {'H', 'k'}, {'L', 'l'}, {'P', 'm'},
    {'T', 'n'}, {'X', 'o'}, {'b', 'p'}, {'f', 'q'}, {'j', 'r'}, {'n', 's'}, {'r', 't'},
    {'v', 'u'}, {'z', 'v'}, {'2', 'w'}, {'6', 'x'}, {'A', 'y'}, {'E', 'z'}, {'I', '.'},
};

char DecodeChar(char c) noexcept {
    for (const CipherPair& pair : kCipherTable) {
        if (pair.input == static_cast<std::int32_t>(c)) {
            return static_cast<char>(pair.output);
        }
    }
    return c;
}

char EncodeChar(char c) noexcept {
    for (const CipherPair& pair : kCipherTable) {
        if (pair.output == static_cast<std::int32_t>(c)) {
            return static_cast<char>(pair.input);
        }
    }
    return c;
}

bool EncodeField(std::string_view text, char (&field)[kFieldSize]) noexcept {
    std::memset(field, 0, kFieldSize);
    if (text.size() > kMaxFieldText || text.find('\0') != std::string_view::npos) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        field[i] = EncodeChar(text[i]);
    }
    return true;
}

bool FieldText(const char (&field)[kFieldSize], std::string_view& text) noexcept {
    const void* zero = std::memchr(field, 0, kFieldSize);
    if (zero == nullptr) {
        return false;
    }
    text = std::string_view(field, static_cast<std::size_t>(static_cast<const char*>(zero) - field));
    return true;
}

}  // namespace verck

unsigned long Sort(char (&field)[verck::kFieldSize]) noexcept {
    std::string_view text;
    if (!verck::FieldText(field, text)) {
        return 1;
    }
    char decoded[verck::kFieldSize] = {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        decoded[i] = verck::DecodeChar(text[i]);
    }
    std::printf("sort ->  %s\n", decoded);
    std::memcpy(field, decoded, verck::kFieldSize);
    return 0;
}
