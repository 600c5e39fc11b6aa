#include <gtest/gtest.h>

#include "serial/line_settings.h"

namespace {

TEST(LineSettings, ReadsTheFourFieldsAndRefusesAnythingElse) {
    using Parity = LineSettings::Parity;
    using Stop = LineSettings::StopBits;
    struct Case {
        const char* text;
        std::optional<LineSettings> expected;
    };
    const Case cases[] = {
        {"115200,N,8,1", LineSettings{115200, Parity::None, 8, Stop::One}},
        {"9600,e,7,2", LineSettings{9600, Parity::Even, 7, Stop::Two}},
        {"300,O,5,1.5", LineSettings{300, Parity::Odd, 5, Stop::OneAndHalf}},
        {"19200,M,6,1", LineSettings{19200, Parity::Mark, 6, Stop::One}},
        {"19200,s,8,1", LineSettings{19200, Parity::Space, 8, Stop::One}},
        {"115200,N,8", std::nullopt},
        {"115200,N,8,1,", std::nullopt},
        {"fast,N,8,1", std::nullopt},
        {"0,N,8,1", std::nullopt},
        {"-9600,N,8,1", std::nullopt},
        {"4294967296,N,8,1", std::nullopt},
        {"115200,X,8,1", std::nullopt},
        {"115200,NO,8,1", std::nullopt},
        {"115200,N,4,1", std::nullopt},
        {"115200,N,9,1", std::nullopt},
        {"115200,N,8,3", std::nullopt},
        {"115200,N,8x,1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.text);
        const auto parsed = parseLineSettings(tc.text);
        ASSERT_EQ(parsed.has_value(), tc.expected.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->baud, tc.expected->baud);
            EXPECT_EQ(parsed->parity, tc.expected->parity);
            EXPECT_EQ(parsed->dataBits, tc.expected->dataBits);
            EXPECT_EQ(parsed->stopBits, tc.expected->stopBits);
        }
    }
}

} // namespace
