#include "console/TextCut.h"

namespace tavol {

bool IsGbkLeadByte(char c) {
    unsigned char b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

std::size_t WholeCharacterLength(const char* text, std::size_t length) {
    std::size_t i = 0;
    while (i < length && text[i] != '\0') {
        std::size_t step = IsGbkLeadByte(text[i]) ? 2 : 1;
        if (i + step > length) {
            break;
        }
        i += step;
    }
    return i;
}

}  // namespace tavol
