#include "sim/line_reader.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pieces.h"

#include <cstdint>
#include <string>

namespace {

using Lines = std::vector<LineReader::Line>;

// The lines of the whole stream, found end by end: CR LF is one end, a lone CR or LF another.
// A line over the cap keeps its first cap's worth and counts as over-long.
Lines linesByScan(std::string_view bytes) {
    Lines lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            continue;
        }
        const auto line = bytes.substr(begin, i - begin);
        lines.push_back({std::string(line.substr(0, LineReader::maxLineLength)),
                         line.size() > LineReader::maxLineLength});
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        begin = i + 1;
    }
    return lines;
}

void append(Lines& lines, Lines more) { lines.insert(lines.end(), more.begin(), more.end()); }

bool sameLines(const Lines& a, const Lines& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.text == y.text && x.overLong == y.overLong;
    });
}

} // namespace

// Input: the received bytes in pieces. The reader is fed them piece by piece, all at once and
// byte by byte; the lines must not depend on how the bytes were cut.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto cut = pieces(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string stream;
    LineReader byPiece;
    Lines piecewise;
    for (const auto piece : cut) {
        stream += piece;
        append(piecewise, byPiece.feed(piece));
    }
    LineReader byByte;
    Lines bytewise;
    for (const char c : stream) {
        append(bytewise, byByte.feed(std::string_view(&c, 1)));
    }
    const Lines whole = LineReader().feed(stream);

    for (const auto& line : piecewise) {
        require(line.text.find_first_of("\r\n") == std::string::npos, "no CR or LF inside a line");
        require(line.text.size() <= LineReader::maxLineLength, "no line over the cap");
        require(!line.overLong || line.text.size() == LineReader::maxLineLength,
                "an over-long line keeps the cap's worth");
    }
    require(sameLines(piecewise, whole), "pieces give the lines the whole stream gives");
    require(sameLines(bytewise, whole), "single bytes give the lines the whole stream gives");
    require(sameLines(whole, linesByScan(stream)), "the lines are those between the line ends");
    return 0;
}
