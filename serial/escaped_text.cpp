#include "serial/escaped_text.h"

std::string escapedText(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
        case '\\':
            text += "\\\\";
            continue;
        case '\r':
            text += "\\r";
            continue;
        case '\n':
            text += "\\n";
            continue;
        case '\t':
            text += "\\t";
            continue;
        default:
            break;
        }
        if (byte >= 0x20 && byte <= 0x7E) {
            text += ch;
            continue;
        }
        text += "\\x";
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}
