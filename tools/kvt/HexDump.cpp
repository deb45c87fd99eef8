#include "tools/kvt/HexDump.h"

#include "tools/kvt/Output.h"

namespace kvtcli {

std::string HexDump(const std::string& bytes, std::uint32_t firstAddress) {
    constexpr std::size_t kPerLine = 16;
    std::string text;
    for (std::size_t line = 0; line < bytes.size(); line += kPerLine) {
        text += Format("%08lx ", static_cast<unsigned long>(firstAddress + line));
        std::string shown;
        for (std::size_t i = 0; i < kPerLine; ++i) {
            if (i == kPerLine / 2) {
                text += ' ';
            }
            if (line + i < bytes.size()) {
                const unsigned char b = static_cast<unsigned char>(bytes[line + i]);
                text += Format(" %02x", b);
                shown += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
            } else {
                text += "   ";
            }
        }
        text += "  |" + shown + "|\n";
    }
    return text;
}

}  // namespace kvtcli
