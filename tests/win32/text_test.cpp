// Texts cross from the core's UTF-8 to the wide Windows calls and back unchanged, all the way
// into a message box and out of the input box.

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/utf16.h"
#include "platform/win32/win32_message_boxes.h"

namespace {

TEST(Text, Utf8AndUtf16RoundTrip) {
    struct Case {
        std::string utf8;
        std::wstring utf16;
    };
    const Case cases[] = {
        {"", L""},
        {"Device is not found.", L"Device is not found."},
        {"\xE7\xAE\xA1\xE9\x9B\xBB\xE5\x9C\xA7", L"\u7ba1\u96fb\u5727"},
        {"\xEF\xBC\x91\xEF\xBC\x92kV", L"\uff11\uff12kV"}, // full-width digits
        {"\xF0\x9F\x94\x8C", L"\xd83d\xdd0c"},             // outside the BMP: a pair
        {"a\r\rb", L"a\r\rb"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.utf8);
        EXPECT_EQ(win32::toUtf16(k.utf8), k.utf16);
        EXPECT_EQ(win32::toUtf8(k.utf16), k.utf8);
    }
    EXPECT_EQ(win32::toUtf16("a\xFF"
                             "b"),
              L"a\ufffdb");
}

// Finds the dialog titled title on this process's desktop once it is shown.
HWND waitForDialog(const wchar_t* title) {
    for (int i = 0; i < 500; ++i) {
        if (HWND found = FindWindowW(L"#32770", title)) {
            return found;
        }
        Sleep(10);
    }
    return nullptr;
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

TEST(Text, MessageBoxShowsTheTextAndAnswers) {
    struct Case {
        std::string text;
        int flags;
        int press;
        std::wstring shown;
    };
    const Case cases[] = {
        {"\xE7\xAE\xA1\xE9\x9B\xBB\xE5\x9C\xA7 COM3", mb::kIconWarning | mb::kSystemModal, IDOK,
         L"\u7ba1\u96fb\u5727 COM3"},
        {"not found a device\r\n\r\n", mb::kOkCancel, IDCANCEL, L"not found a device\r\n\r\n"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        std::wstring shown;
        std::thread operatorHand([&] {
            HWND box = waitForDialog(L"Kelvara");
            ASSERT_NE(box, nullptr);
            shown = textOf(GetDlgItem(box, 0xFFFF));
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(k.press), 0);
        });
        Win32MessageBoxes boxes;
        const int answer = boxes.messageBox(k.text, k.flags, kAppTitle);
        operatorHand.join();
        EXPECT_EQ(shown, k.shown);
        EXPECT_EQ(answer, k.press);
    }
}

TEST(Text, InputBoxGivesTheTypedTextOrNothing) {
    struct Case {
        std::wstring typed;
        int press;
        std::string answer;
    };
    const Case cases[] = {
        {L"\u30d1\u30b9", IDOK, "\xE3\x83\x91\xE3\x82\xB9"},
        {L"secret", IDCANCEL, ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.answer);
        std::wstring prompt;
        std::thread operatorHand([&] {
            HWND dialog = waitForDialog(L"Kelvara");
            ASSERT_NE(dialog, nullptr);
            prompt = textOf(GetDlgItem(dialog, 100));
            SetWindowTextW(GetDlgItem(dialog, 101), k.typed.c_str());
            PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(k.press), 0);
        });
        Win32MessageBoxes boxes;
        const std::string answer = boxes.inputBox("Password?", kAppTitle);
        operatorHand.join();
        EXPECT_EQ(prompt, L"Password?");
        EXPECT_EQ(answer, k.answer);
    }
}

} // namespace
