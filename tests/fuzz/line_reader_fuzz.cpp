#include "sim/line_reader.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pieces.h"

#include <cstdint>
#include <string>

namespace {

using Lines = std::vector<std::pair<std::string, bool>>;

void append(Lines& lines, const std::vector<LineReader::Line>& more) {
    for (const auto& line : more) {
        lines.emplace_back(line.text, line.overLong);
    }
}

// The lines of the whole stream, found end by end: CR LF is one end, a lone CR or LF another.
// A line over the cap keeps its first cap's worth and counts as over-long.
Lines linesByScan(const std::string& bytes) {
    Lines lines;
    for (std::size_t begin = 0, end;
         (end = bytes.find_first_of("\r\n", begin)) != std::string::npos;
         begin = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1)) {
        const std::string line = bytes.substr(begin, end - begin);
        lines.emplace_back(line.substr(0, LineReader::kMaxLineLength),
                           line.size() > LineReader::kMaxLineLength);
    }
    return lines;
}

} // namespace

// Input: the received bytes in pieces. The reader is fed them piece by piece and all at once;
// the lines must not depend on how the bytes were cut.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string stream;
    LineReader byPiece;
    Lines piecewise, whole;
    for (const auto piece : pieces(std::string_view(reinterpret_cast<const char*>(data), size))) {
        stream += piece;
        append(piecewise, byPiece.feed(piece));
    }
    append(whole, LineReader().feed(stream));
    require(piecewise == whole, "pieces give the lines the whole stream gives");
    require(whole == linesByScan(stream), "the lines are those between the line ends");
    return 0;
}
