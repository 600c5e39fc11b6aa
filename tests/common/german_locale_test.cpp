// The number tests once more under a German C locale (LC_ALL from ctest, taken over by the
// QApplication), where a locale-dependent conversion would read or write 20.5 as "20,5".

#include <gtest/gtest.h>

#include <clocale>

TEST(GermanLocale, CLibraryUsesDecimalComma) {
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}
