#include "common/split_text.h"

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string::size_type from = 0;
    for (;;) {
        const auto found = text.find(separator, from);
        pieces.push_back(text.substr(from, found - from));
        if (found == std::string::npos) {
            return pieces;
        }
        from = found + 1;
    }
}
