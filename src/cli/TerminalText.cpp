#include "cli/TerminalText.h"

namespace vantel::ctl {

std::string Printable(std::string_view text)
{
    constexpr unsigned char kDelete = 0x7F;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != kDelete) {
            printable += c;
            continue;
        }
        switch (c) {
        case '\t':
            printable += "\\t";
            break;
        case '\n':
            printable += "\\n";
            break;
        case '\r':
            printable += "\\r";
            break;
        default:
            printable += "\\x";
            printable += kHex[byte >> 4];
            printable += kHex[byte & 0xF];
        }
    }
    return printable;
}

} // namespace vantel::ctl
