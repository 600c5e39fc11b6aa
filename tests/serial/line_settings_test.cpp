#include <gtest/gtest.h>

#include "serial/line_settings.h"

TEST(LineSettings, ReadsTheFourFieldsAndRefusesAnythingElse) {
    using P = LineSettings::Parity;
    using S = LineSettings::StopBits;
    const std::tuple<const char*, unsigned, P, int, S> read[] = {
        {"115200,N,8,1", 115200, P::None, 8, S::One},
        {"9600,e,7,2", 9600, P::Even, 7, S::Two},
        {"300,O,5,1.5", 300, P::Odd, 5, S::OneAndHalf},
        {"19200,M,6,1", 19200, P::Mark, 6, S::One},
        {"19200,s,8,1", 19200, P::Space, 8, S::One}};
    for (const auto& [text, baud, parity, dataBits, stopBits] : read) {
        // A refused text reads as 0 baud.
        const auto parsed = parseLineSettings(text).value_or(LineSettings{0});
        EXPECT_EQ(std::tuple(parsed.baud, parsed.parity, int{parsed.dataBits}, parsed.stopBits),
                  std::tuple(baud, parity, dataBits, stopBits))
            << text;
    }
    for (const char* text : {"115200,N,8", "115200,N,8,1,", "fast,N,8,1", "0,N,8,1", "-9600,N,8,1",
                             "4294967296,N,8,1", "115200,X,8,1", "115200,NO,8,1", "115200,N,4,1",
                             "115200,N,9,1", "115200,N,8,3", "115200,N,8x,1", ""}) {
        EXPECT_FALSE(parseLineSettings(text).has_value()) << text;
    }
}
