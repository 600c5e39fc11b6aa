// Runs the number tests inside a QApplication under a German locale: QApplication sets the
// C library's locale from the environment, where a locale-dependent conversion would turn
// 20.5 into "20,5".

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>

TEST(GermanLocale, CLibraryUsesDecimalComma) {
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("LC_ALL", "de_DE.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
