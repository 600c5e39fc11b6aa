#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "operations/parameter_file.h"

namespace {

using Problems = std::vector<std::string>;

// "line: what", as a failing expectation shows them.
Problems problemsOf(std::string_view text) {
    Problems problems;
    for (const FileProblem& p : readParameterFile(text, kParameterRegisters).problems) {
        problems.push_back(std::to_string(p.line) + ": " + p.what);
    }
    return problems;
}

const std::vector<int32_t> kStored{20, 38, 805, 300, 0, 20, 100, 20, 1640, -1, 1210, 0};

std::string savedFile() {
    return writeParameterFile(kParameterRegisters, kStored, {"saved from COM3"});
}

// The saved file with the line "NAME = ..." of one register replaced by replacement (a
// line end included; empty: the line dropped).
std::string withLine(const std::string& name, const std::string& replacement) {
    std::string text = savedFile();
    const auto begin = text.find("\n" + name + " = ") + 1;
    return text.replace(begin, text.find('\n', begin) + 1 - begin, replacement);
}

} // namespace

TEST(ParameterFile, WhatIsSavedReadsBackExactly) {
    const std::string text = savedFile();
    EXPECT_TRUE(text.starts_with("kelvara-parameters 1\n# saved from COM3\n"));
    EXPECT_NE(text.find("\n# KV_MAX 80.5 (Text3)\nKV_MAX = 805\n"), std::string::npos);
    EXPECT_NE(text.find("\n# KV_OFFSET -0.0001 (Text18)\nKV_OFFSET = -1\n"), std::string::npos);
    EXPECT_EQ(problemsOf(text), Problems{});
    EXPECT_EQ(readParameterFile(text, kParameterRegisters).stored, kStored);
}

// What an editor or another system may do to a good file.
TEST(ParameterFile, AcceptsMarkCrLfAnyOrderAndLooseBlanks) {
    std::string crlf;
    for (const char ch : savedFile()) {
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    }
    const std::string variants[] = {
        "\xEF\xBB\xBF" + savedFile(),
        crlf,
        withLine("PWR_LMT", "") + "\n  # moved to the end\nPWR_LMT=20\n",
        withLine("KV_MAX", "\tKV_MAX   =805  \n"),
    };
    for (const std::string& text : variants) {
        SCOPED_TRACE(text.substr(0, 40));
        EXPECT_EQ(problemsOf(text), Problems{});
        EXPECT_EQ(readParameterFile(text, kParameterRegisters).stored, kStored);
    }
}

TEST(ParameterFile, AFileNotExactlyRightIsRefusedWholeWithItsLines) {
    struct Case {
        std::string text;
        Problems problems;
    };
    // Line 11 holds KV_MAX, line 17 KV_OUT, line 32 KV_OFFSET; the saved file ends on line 38.
    const Case cases[] = {
        {withLine("KV_MAX", "KV_MAX = 80.5\n"), {"11: KV_MAX: \"80.5\" is not a whole number"}},
        {withLine("KV_MAX", "KV_MAX = 8e2\n"), {"11: KV_MAX: \"8e2\" is not a whole number"}},
        {withLine("KV_MAX", "KV_MAX = 805 kV\n"), {"11: KV_MAX: text after the value: \" kV\""}},
        {withLine("KV_MAX", "KV_MAX = 65536\n"),
         {"11: KV_MAX: 65536 is out of its range 0 to 65535"}},
        {withLine("KV_MAX", "KV_MAX = -1\n"), {"11: KV_MAX: -1 is out of its range 0 to 65535"}},
        {withLine("KV_OFFSET", "KV_OFFSET = -32769\n"),
         {"32: KV_OFFSET: -32769 is out of its range -32768 to 32767"}},
        {withLine("KV_MAX", "KV_MAX = 99999999999999999999\n"),
         {"11: KV_MAX: 99999999999999999999 is out of its range 0 to 65535"}},
        {withLine("KV_MAX", "KV_MAX =\n"), {"11: KV_MAX has no value"}},
        {withLine("KV_MAX", "KV_MAX = x\n"), {"11: KV_MAX: \"x\" is not a whole number"}},
        {withLine("KV_MAX", "KV_MAX 805\n"),
         {"11: not a \"NAME = VALUE\" line", "39: KV_MAX is missing"}},
        {withLine("KV_MAX", "KV_MAXX = 805\n"),
         {"11: no register of this file is named \"KV_MAXX\"", "39: KV_MAX is missing"}},
        {withLine("KV_MAX", "AD_GAIN = 861\n"),
         {"11: no register of this file is named \"AD_GAIN\"", "39: KV_MAX is missing"}},
        {withLine("KV_OUT", "KV_MAX = 805\n"),
         {"17: KV_MAX again (first on line 11)", "39: KV_OUT is missing"}},
        {withLine("KV_OUT", ""), {"38: KV_OUT is missing"}},
        {savedFile().substr(0, savedFile().find("KV_MAX")),
         {"11: KV_MAX is missing", "11: mA_MAX is missing", "11: KV_OUT is missing",
          "11: mA_OUT is missing", "11: KV_MIN is missing", "11: mA_MIN is missing",
          "11: KV_SLOPE is missing", "11: KV_OFFSET is missing", "11: mA_SLOPE is missing",
          "11: mA_OFFSET is missing"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problems.front());
        EXPECT_EQ(problemsOf(c.text), c.problems);
        EXPECT_TRUE(readParameterFile(c.text, kParameterRegisters).stored.empty());
    }
}

TEST(ParameterFile, AnotherFormatIsRefusedAtItsFirstLine) {
    const std::string texts[] = {"", "kelvara-parameters 2\nPWR_LMT = 20\n",
                                 " kelvara-parameters 1\n", "PWR_LMT,20\n"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(problemsOf(text),
                  (Problems{"1: not a parameter file of this format: the first line is not "
                            "\"kelvara-parameters 1\""}));
    }
}

TEST(ParameterFile, OnlyWholeNumbersInRangeCanBeSaved) {
    struct Case {
        std::size_t reg;
        double stored;
        std::optional<int32_t> value;
    };
    const Case cases[] = {{2, 805, 805},
                          {2, 65535, 65535},
                          {2, 65536, std::nullopt},
                          {2, -1, std::nullopt},
                          {2, 38.5, std::nullopt},
                          {9, -32768, -32768},
                          {9, -32769, std::nullopt},
                          {2, std::nan(""), std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(fileValue(kParameterRegisters.at(c.reg), c.stored), c.value);
    }
}
