#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Cuts the bytes received from the line into command lines. A line ends at CR, at LF, or at
// CR LF (one end, not two). A line longer than the cap is kept as an over-long line, which
// no command matches.
class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = 256;

    struct Line {
        std::string text;
        bool overLong = false;
    };

    std::vector<Line> feed(std::string_view bytes);

private:
    std::string pending_;
    bool overLong_ = false;
    bool afterCr_ = false;
};
