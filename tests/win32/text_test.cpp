// Texts cross from the core's UTF-8 to the wide Windows calls and back unchanged, all the way
// into a message box and out of the input box.

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/utf16.h"
#include "platform/win32/win32_message_boxes.h"

namespace {

TEST(Text, Utf8AndUtf16RoundTrip) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"", L""},
        {"\xE7\xAE\xA1\xE9\x9B\xBB\xE5\x9C\xA7 COM3", L"\u7ba1\u96fb\u5727 COM3"},
        {"\xF0\x9F\x94\x8C", L"\xd83d\xdd0c"}, // outside the BMP: a pair
        {"a\r\rb", L"a\r\rb"},
    };
    for (const auto& [utf8, utf16] : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(win32::toUtf16(utf8), utf16);
        EXPECT_EQ(win32::toUtf8(utf16), utf8);
    }
    EXPECT_EQ(win32::toUtf16(std::string("a\xFF") + "b"), L"a\ufffdb");
}

// The operator's hand reads the box's text (or the input box's prompt), types into the input
// box and presses a button: the button pressed is the message box's answer; the input box
// gives the typed text on OK and nothing on Cancel.
TEST(Text, BoxesShowTheTextAndGiveTheAnswer) {
    struct Case {
        bool input;
        std::string text;
        int flags;
        std::wstring typed;
        int press;
        std::wstring shown;
        std::string answer;
    };
    const Case cases[] = {
        {false, "\xE7\xAE\xA1\xE9\x9B\xBB\xE5\x9C\xA7 COM3", mb::kIconWarning | mb::kSystemModal,
         L"", mb::kIdOk, L"\u7ba1\u96fb\u5727 COM3", "1"},
        {false, "not found\r\n\r\n", mb::kOkCancel, L"", mb::kIdCancel, L"not found\r\n\r\n", "2"},
        {true, "Password?", 0, L"\u30d1\u30b9", mb::kIdOk, L"Password?",
         "\xE3\x83\x91\xE3\x82\xB9"},
        {true, "Password?", 0, L"secret", mb::kIdCancel, L"Password?", ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.answer);
        std::wstring shown;
        std::thread hand([&] {
            HWND box = nullptr;
            for (int i = 0; i < 500 && (box = FindWindowW(L"#32770", L"Kelvara")) == nullptr; ++i) {
                Sleep(10);
            }
            ASSERT_NE(box, nullptr);
            wchar_t text[256] = {};
            GetDlgItemTextW(box, k.input ? 100 : 0xFFFF, text, 256);
            shown = text;
            SetDlgItemTextW(box, 101, k.typed.c_str());
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(k.press), 0);
        });
        Win32MessageBoxes boxes;
        const std::string answer =
            k.input ? boxes.inputBox(k.text, kAppTitle)
                    : std::to_string(boxes.messageBox(k.text, k.flags, kAppTitle));
        hand.join();
        EXPECT_EQ(shown, k.shown);
        EXPECT_EQ(answer, k.answer);
    }
}

} // namespace
