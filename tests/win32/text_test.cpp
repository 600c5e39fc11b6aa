// Texts cross from the core's UTF-8 to the wide Windows calls and back unchanged, all the way
// into a message box and out of the input box.

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/utf16.h"
#include "platform/win32/win32_message_boxes.h"

namespace {

// The operator's hand reads the box's text (or the input box's prompt), types into the input
// box and presses a button: the button pressed is the message box's answer; the input box
// gives the typed text on OK and nothing on Cancel. OK on a plain box is the scenarios' road.
TEST(Text, CrossesIntoTheBoxesAndBack) {
    // Plain non-ASCII text crosses in the diagnostics scenario's trace path; outside the BMP a
    // character is a surrogate pair.
    EXPECT_EQ(win32::toUtf16("\xF0\x9F\x94\x8C"), L"\xd83d\xdd0c");
    EXPECT_EQ(win32::toUtf8(L"\xd83d\xdd0c"), "\xF0\x9F\x94\x8C");
    EXPECT_EQ(win32::toUtf16(std::string("a\xFF") + "b"), L"a\ufffdb");

    struct Case {
        bool input; // the input box, else a message box
        std::string text;
        std::wstring typed;
        int press;
        std::string wanted;
    };
    const Case cases[] = {
        {false, "not found a device\r\n\r\n", L"", mb::kIdCancel, "2"},
        {true, "Password?", L"\u30d1\u30b9", mb::kIdOk, "\xE3\x83\x91\xE3\x82\xB9"},
        {true, "Password?", L"secret", mb::kIdCancel, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wanted);
        wchar_t shown[256] = {};
        std::thread hand([&] {
            HWND box = nullptr;
            for (int i = 0; i < 500 && (box = FindWindowW(L"#32770", L"Kelvara")) == nullptr; ++i) {
                Sleep(10);
            }
            GetDlgItemTextW(box, c.input ? 100 : 0xFFFF, shown, 256);
            SetDlgItemTextW(box, 101, c.typed.c_str());
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(c.press), 0);
        });
        Win32MessageBoxes boxes;
        EXPECT_EQ(c.input ? boxes.inputBox(c.text, kAppTitle)
                          : std::to_string(boxes.messageBox(c.text, mb::kOkCancel, kAppTitle)),
                  c.wanted);
        hand.join();
        EXPECT_EQ(shown, win32::toUtf16(c.text));
    }
}

} // namespace
