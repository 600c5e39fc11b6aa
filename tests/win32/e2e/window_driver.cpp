// Drives kelvara.exe from outside, as a technician would: it starts the program, finds its
// window, presses buttons, chooses menu entries, reads and types into boxes, answers message
// boxes, walks the focus with Tab and closes the window. Each command line argument is one
// step; the first failing step ends the run with exit status 1.
//
//   window_driver.exe PROGRAM|attach STEP...
//   shown | hidden | click NAME | press NAME | menu NAME | menu-post NAME | set NAME TEXT
//   expect NAME TEXT | dialog | message TEXT | input TEXT | no-message | tabs N | close
//   exits MS | sleep MS | dump | menu-self | locale
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

// Before windows.h, whose IDOK and IDCANCEL macros the core's names would meet.
#include "app/win32/form1_window.h"

#include "app/win32/caption_font.h"
#include "app/win32/caption_layout.h"
#include "app/win32/form1_layout.h"
#include "platform/win32/utf16.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kSendLimitMs = 120000;
constexpr auto kPoll = std::chrono::milliseconds(20);

struct Failure {
    std::string what;
};

void say(const std::wstring& line) {
    const std::string text = win32::toUtf8(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(const std::wstring& what) { throw Failure{win32::toUtf8(what)}; }

const ControlEntry& control(const std::wstring& name) {
    for (const auto& c : form1::kControls) {
        if (name == c.name) {
            return c;
        }
    }
    fail(L"no control " + name);
}

int menuId(const std::wstring& name) {
    for (const auto& e : form1::kMenu) {
        if (e.id != 0 && name == e.name) {
            return e.id;
        }
    }
    fail(L"no menu entry " + name);
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                        kSendLimitMs, &copied);
    return buffer;
}

std::wstring classOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

template <typename Found> bool waitFor(Found found, int limitMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!found()) {
        if (Clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

class Driver {
public:
    // "attach" takes the window of a program started by an earlier run.
    explicit Driver(const std::wstring& program) {
        if (program == L"attach") {
            HWND w = nullptr;
            waitFor([&] { return (w = FindWindowW(L"KelvaraForm1", form1::kTitle)) != nullptr; },
                    60000);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            process_.dwProcessId = pid;
            process_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
            if (process_.hProcess == nullptr) {
                fail(L"no program to attach to");
            }
            return;
        }
        std::wstring commandLine = L"\"" + program + L"\"";
        const std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = Clock::now();
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, folder.c_str(), &startup, &process_)) {
            fail(L"cannot start " + program);
        }
        CloseHandle(process_.hThread);
    }

    void step(std::vector<std::wstring>& args) {
        const std::wstring verb = take(args);
        if (verb == L"shown") {
            shown();
        } else if (verb == L"hidden") {
            HWND w = FindWindowW(L"KelvaraForm1", form1::kTitle);
            if (w != nullptr && ours(w) && IsWindowVisible(w)) {
                fail(L"the window is shown");
            }
        } else if (verb == L"dialog") {
            HWND box = waitForDialog();
            say(L"dialog\t" + textOf(box) + L"\t" + dialogText(box));
        } else if (verb == L"click" || verb == L"press") {
            HWND button = child(take(args));
            post(verb == L"press", button, BM_CLICK, 0, 0);
        } else if (verb == L"menu" || verb == L"menu-post") {
            post(verb == L"menu-post", window(), WM_COMMAND,
                 static_cast<WPARAM>(menuId(take(args))), 0);
        } else if (verb == L"set") {
            HWND box = child(take(args));
            const std::wstring text = take(args);
            DWORD_PTR result = 0;
            SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                SMTO_NORMAL, kSendLimitMs, &result);
        } else if (verb == L"expect") {
            const std::wstring name = take(args);
            expect(name, take(args));
        } else if (verb == L"message") {
            message(take(args));
        } else if (verb == L"input") {
            input(take(args));
        } else if (verb == L"no-message") {
            if (HWND box = dialog()) {
                fail(L"a message is shown: " + dialogText(box));
            }
        } else if (verb == L"menu-self") {
            menuSelf();
        } else if (verb == L"tabs") {
            tabs(std::stoi(take(args)));
        } else if (verb == L"close") {
            PostMessageW(window(), WM_CLOSE, 0, 0);
        } else if (verb == L"exits") {
            exits(std::stoi(take(args)));
        } else if (verb == L"sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(take(args))));
        } else if (verb == L"dump") {
            dump();
        } else if (verb == L"locale") {
            wchar_t separator[8] = {};
            GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
            say(L"decimal-separator\t" + std::wstring(separator));
        } else {
            fail(L"unknown step " + verb);
        }
    }

private:
    static std::wstring take(std::vector<std::wstring>& args) {
        if (args.empty()) {
            fail(L"a step lacks its argument");
        }
        std::wstring first = args.front();
        args.erase(args.begin());
        return first;
    }

    bool ours(HWND hwnd) const {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        return pid == process_.dwProcessId;
    }

    HWND window() {
        if (hwnd_ == nullptr || !IsWindow(hwnd_)) {
            hwnd_ = FindWindowW(L"KelvaraForm1", form1::kTitle);
        }
        if (hwnd_ == nullptr || !ours(hwnd_)) {
            fail(L"no window");
        }
        return hwnd_;
    }

    HWND child(const std::wstring& name) {
        HWND found = GetDlgItem(window(), control(name).id);
        if (found == nullptr) {
            fail(L"no child window " + name);
        }
        return found;
    }

    // A synchronous send returns once the event procedure has ended; a posted one at once,
    // for steps that open a message box or close the window.
    static void post(bool async, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (async) {
            PostMessageW(hwnd, message, wParam, lParam);
            return;
        }
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, kSendLimitMs,
                                 &result)) {
            fail(L"the window did not answer");
        }
    }

    void shown() {
        if (!waitFor(
                [&] {
                    HWND w = FindWindowW(L"KelvaraForm1", form1::kTitle);
                    return w != nullptr && ours(w) && IsWindowVisible(w);
                },
                60000)) {
            fail(L"the window was not shown");
        }
        const auto ms = std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
        say(L"shown-ms\t" + std::to_wstring(static_cast<long>(ms)));
    }

    void expect(const std::wstring& name, const std::wstring& wanted) {
        HWND box = child(name);
        if (!waitFor([&] { return textOf(box) == wanted; }, 10000)) {
            fail(name + L" shows \"" + textOf(box) + L"\", not \"" + wanted + L"\"");
        }
    }

    HWND dialog() const {
        struct Search {
            const Driver* self;
            HWND found;
        } search{this, nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                if (classOf(hwnd) == L"#32770" && IsWindowVisible(hwnd) && s->self->ours(hwnd)) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static std::wstring dialogText(HWND box) {
        std::wstring text;
        for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            if (classOf(c) == L"Static" && !textOf(c).empty()) {
                text += (text.empty() ? L"" : L" | ") + textOf(c);
            }
        }
        return text;
    }

    HWND waitForDialog() {
        HWND box = nullptr;
        if (!waitFor([&] { return (box = dialog()) != nullptr; }, 90000)) {
            fail(L"no message box came");
        }
        return box;
    }

    static void answer(HWND box, int button) {
        PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
        if (!waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000)) {
            fail(L"the message box stayed");
        }
    }

    void message(const std::wstring& wanted) {
        HWND box = waitForDialog();
        const std::wstring shownText = dialogText(box);
        say(L"message\t" + textOf(box) + L"\t" + shownText);
        if (shownText.find(wanted) == std::wstring::npos) {
            fail(L"the message box says " + shownText);
        }
        answer(box, GetDlgItem(box, IDOK) != nullptr ? IDOK : IDCANCEL);
    }

    void input(const std::wstring& typed) {
        HWND box = waitForDialog();
        HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
        if (edit == nullptr) {
            fail(L"the dialog has no edit field");
        }
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        answer(box, IDOK);
    }

    std::wstring nameOf(HWND hwnd) const {
        const int id = GetDlgCtrlID(hwnd);
        for (const auto& c : form1::kControls) {
            if (c.id == id) {
                return c.name;
            }
        }
        return L"?";
    }

    HWND focus() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window(), nullptr), &info);
        return info.hwndFocus;
    }

    void tabs(int count) {
        HWND at = focus();
        say(L"focus\t" + nameOf(at));
        for (int i = 0; i < count; ++i) {
            PostMessageW(at, WM_KEYDOWN, VK_TAB, 0);
            PostMessageW(at, WM_KEYUP, VK_TAB, 0xC0000001);
            HWND from = at;
            if (!waitFor([&] { return (at = focus()) != from; }, 5000)) {
                fail(L"Tab did not move the focus from " + nameOf(from));
            }
            say(L"focus\t" + nameOf(at));
        }
    }

    void exits(int limitMs) {
        if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limitMs)) != WAIT_OBJECT_0) {
            fail(L"the program is still running");
        }
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        say(L"exit-code\t" + std::to_wstring(code));
    }

    // The window as it stands, for the check against the designer file: every child in
    // z-order with its class, styles, client rectangle and text; the menu; and where each
    // caption character ends when drawn in the window's font.
    void dump() {
        HWND w = window();
        RECT client{};
        GetClientRect(w, &client);
        say(L"title\t" + textOf(w));
        say(L"client\t" + std::to_wstring(client.right) + L"\t" + std::to_wstring(client.bottom));
        int z = 0;
        for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
            wchar_t style[32];
            swprintf(style, 32, L"%08lx\t%08lx", GetWindowLongW(c, GWL_STYLE),
                     GetWindowLongW(c, GWL_EXSTYLE));
            say(L"control\t" + std::to_wstring(z++) + L"\t" + std::to_wstring(GetDlgCtrlID(c)) +
                L"\t" + classOf(c) + L"\t" + style + L"\t" + std::to_wstring(r.left) + L"\t" +
                std::to_wstring(r.top) + L"\t" + std::to_wstring(r.right - r.left) + L"\t" +
                std::to_wstring(r.bottom - r.top) + L"\t" + textOf(c));
        }
        extents();
    }

    // Wine cannot read another process's menu: the menu is read from a window of the same
    // code made in this process, and its check marks after "Interval Start" and "Interval
    // Stop" came through the window's own message handling.
    static void menuSelf() {
        Form1Window self(GetModuleHandleW(nullptr));
        HMENU bar = GetMenu(self.handle());
        wchar_t text[128] = {};
        GetMenuStringW(bar, 0, text, 128, MF_BYPOSITION);
        say(L"menu\t" + std::wstring(text));
        HMENU dropDown = GetSubMenu(bar, 0);
        for (int i = 0; i < GetMenuItemCount(dropDown); ++i) {
            const UINT state = GetMenuState(dropDown, static_cast<UINT>(i), MF_BYPOSITION);
            text[0] = 0;
            GetMenuStringW(dropDown, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            say(L"entry\t" + std::to_wstring(GetMenuItemID(dropDown, i)) + L"\t" + text + L"\t" +
                std::to_wstring((state & MF_CHECKED) != 0) + L"\t" +
                std::to_wstring((state & MF_SEPARATOR) != 0));
        }
        const auto marks = [&](const wchar_t* after) {
            std::wstring line = L"marks\t" + std::wstring(after);
            for (const wchar_t* name : {L"IntervalStart", L"IntervalStop"}) {
                const UINT state =
                    GetMenuState(dropDown, static_cast<UINT>(menuId(name)), MF_BYCOMMAND);
                line += L"\t" + std::to_wstring((state & MF_CHECKED) != 0);
            }
            say(line);
        };
        for (const wchar_t* entry : {L"IntervalStart", L"IntervalStop"}) {
            SendMessageW(self.handle(), WM_COMMAND, static_cast<WPARAM>(menuId(entry)), 0);
            marks(entry);
        }
    }

    static void extents() {
        HDC dc = GetDC(nullptr);
        HFONT font = createCaptionFont();
        const HGDIOBJ previous = SelectObject(dc, font);
        LOGFONTW chosen{};
        GetObjectW(font, sizeof chosen, &chosen);
        say(L"font\t" + std::wstring(chosen.lfFaceName) + L"\t" +
            std::to_wstring(-chosen.lfHeight));
        for (const auto& c : form1::kControls) {
            const std::wstring text = c.text;
            if (c.kind != ControlKind::Label || text.empty()) {
                continue;
            }
            const CaptionLayout layout = layOutCaption(dc, c);
            std::vector<WORD> glyphs(text.size());
            GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS);
            std::wstring line = L"extent\t" + std::to_wstring(c.id) + L"\t";
            int missing = 0;
            for (std::size_t k = 0; k < text.size(); ++k) {
                line += (k == 0 ? L"" : L",") + std::to_wstring(layout.ends[k]);
                missing += glyphs[k] == 0xFFFF ? 1 : 0;
            }
            line += L"\t" + std::to_wstring(layout.tail) + L"\t" + std::to_wstring(layout.tailX);
            say(line + L"\t" + std::to_wstring(missing));
        }
        SelectObject(dc, previous);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
    }

    PROCESS_INFORMATION process_{};
    Clock::time_point started_;
    HWND hwnd_ = nullptr;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: window_driver PROGRAM STEP...\n", stderr);
        return 2;
    }
    std::vector<std::wstring> args(argv + 2, argv + argc);
    try {
        Driver driver(argv[1]);
        while (!args.empty()) {
            driver.step(args);
        }
    } catch (const Failure& f) {
        std::fprintf(stdout, "FAIL: %s\n", f.what.c_str());
        return 1;
    }
    return 0;
}
