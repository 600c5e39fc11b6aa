#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

// The bytes as the port delivers them, in pieces: each piece is a length byte (1 to 16 bytes
// follow) and then that many bytes; the last piece takes what is left.
inline std::vector<std::string_view> pieces(std::string_view data) {
    std::vector<std::string_view> cut;
    while (!data.empty()) {
        const std::size_t length = std::min<std::size_t>(
            static_cast<unsigned char>(data.front()) % 16 + 1, data.size() - 1);
        cut.push_back(data.substr(1, length));
        data.remove_prefix(1 + length);
    }
    return cut;
}
