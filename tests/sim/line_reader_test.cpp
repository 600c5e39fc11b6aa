#include "sim/line_reader.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> texts(const std::vector<LineReader::Line>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines)
        out.push_back(line.text);
    return out;
}

TEST(LineReader, CrLfCrAndLfEachEndOneLine) {
    struct Case {
        std::vector<std::string> chunks;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{"R0\r\n"}, {"R0"}},
        {{"R0\r"}, {"R0"}},
        {{"R0\n"}, {"R0"}},
        {{"R0\r\nR1\rR2\n"}, {"R0", "R1", "R2"}},
        {{"\r\n"}, {""}},
        {{"\r\n\r\n"}, {"", ""}},
        {{"\n\n"}, {"", ""}},
        {{"\r\r"}, {"", ""}},
        {{"R0\r", "\nR1\r\n"}, {"R0", "R1"}},
        {{"R", "0", "\r", "\n"}, {"R0"}},
        {{"R0"}, {}},
        {{std::string("a\0b\r", 4)}, {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.chunks));
        LineReader reader;
        std::vector<std::string> lines;
        for (const auto& chunk : c.chunks) {
            for (auto& line : texts(reader.feed(chunk)))
                lines.push_back(line);
        }
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(LineReader, OverLongLineIsCappedAndMarked) {
    LineReader reader;
    const std::string longLine(LineReader::maxLineLength * 4, 'x');
    const auto lines = reader.feed(longLine + "\r\nR0\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].overLong);
    EXPECT_EQ(lines[0].text.size(), LineReader::maxLineLength);
    EXPECT_FALSE(lines[1].overLong);
    EXPECT_EQ(lines[1].text, "R0");
}

TEST(LineReader, LineOfExactlyTheCapIsNotOverLong) {
    LineReader reader;
    const auto lines = reader.feed(std::string(LineReader::maxLineLength, 'x') + "\r");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0].overLong);
}

} // namespace
