// Drives kelvara.exe from outside, as a technician would: it starts the program (or takes the
// window of one started by an earlier run), presses buttons, chooses menu entries, reads and
// types into boxes, answers message boxes, walks the focus with Tab and closes the window.
// Each command line argument is one step; the first failing step ends the run with status 1.
//
//   window_driver.exe PROGRAM|attach [args TEXT] STEP...    (TEXT: the program's arguments)
//   shown | hidden | click NAME | press NAME | menu NAME | menu-post NAME | set NAME TEXT
//   expect NAME TEXT | dialog | message TEXT | input TEXT | no-message | tabs N | close
//   exits MS | sleep MS | dump | menu-self | key Tab|Return|Escape|TEXT | focus-text TEXT
//   dialog-closes MS | visible NAME | dpi N | tab-to NAME | scroll-to NAME
//   scroll-home | in-view NAME yes|no | in-work-area
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Before windows.h, whose IDOK and IDCANCEL macros the core's names would meet.
#include "app/win32/form1_window.h"

#include "app/win32/caption_font.h"
#include "app/win32/caption_layout.h"
#include "app/win32/form1_layout.h"
#include "app/win32/layout_names.h"
#include "app/win32/scaled_layout.h"
#include "platform/win32/utf16.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMessageTextId = 0xFFFF;
const wchar_t* const kClass = L"KelvaraForm1";

PROCESS_INFORMATION driven{};
// The driven window's DPI: Wine's one for every monitor, until a dpi step changes it.
UINT dpi = 0;
const Clock::time_point kStarted = Clock::now();

void require(bool holds, const std::wstring& otherwise) {
    if (!holds) {
        throw std::runtime_error(win32::toUtf8(otherwise));
    }
}

// One line of the report, its fields separated by tabs.
template <typename... Fields> void say(const Fields&... fields) {
    std::wostringstream line;
    ((line << L'\t' << fields), ...);
    std::puts(win32::toUtf8(line.str().substr(1)).c_str());
}

void await(const std::function<bool()>& done, int limitMs, const std::wstring& otherwise) {
    for (const auto end = Clock::now() + std::chrono::milliseconds(limitMs); !done(); Sleep(20)) {
        require(Clock::now() < end, otherwise);
    }
}

std::wstring nameOf(HWND hwnd) { return form1::nameOf(GetDlgCtrlID(hwnd)); }

std::wstring textOf(HWND hwnd) {
    wchar_t text[1024] = {};
    SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// The driven program's shown top-level window of this class and title. The menu reading makes
// a main window of its own in this process.
HWND own(const wchar_t* cls, const wchar_t* title) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, title); w != nullptr;
         w = FindWindowExW(nullptr, w, cls, title)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == driven.dwProcessId && IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

HWND window() { return own(kClass, form1::kTitle); }

HWND dialog() { return own(L"#32770", nullptr); }

HWND awaitDialog() {
    await([] { return dialog() != nullptr; }, 90000, L"no message box came");
    return dialog();
}

// A synchronous send returns once the event procedure has ended; a posted one at once, for
// steps that open a message box or close the window. A window that hangs is the test's
// time-out.
void send(bool post, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam = 0) {
    require(hwnd != nullptr, L"no such window");
    post ? PostMessageW(hwnd, message, wParam, lParam)
         : SendMessageW(hwnd, message, wParam, lParam);
}

// The message box's text, checked to hold wanted; typed goes into the input box's edit field.
// Then OK.
void answer(const std::wstring& wanted, const std::wstring& typed) {
    HWND box = awaitDialog();
    const std::wstring text = textOf(GetDlgItem(box, kMessageTextId));
    say(L"message", textOf(box), text);
    require(text.find(wanted) != std::wstring::npos, L"the message box says " + text);
    if (!typed.empty()) {
        send(false, FindWindowExW(box, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
             reinterpret_cast<LPARAM>(typed.c_str()));
    }
    send(true, box, WM_COMMAND, IDOK);
    await([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000, L"the box stayed");
}

// The window as it stands, for the check against the designer file: its client area, every
// child in z-order with its class, style, client rectangle and text, then where each caption
// character ends when drawn in the window's font and how many have no glyph in it.
void dump(HWND w) {
    RECT client{};
    GetClientRect(w, &client);
    say(L"client", client.right, client.bottom);
    int z = 0;
    for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
        wchar_t cls[64] = {};
        GetClassNameW(c, cls, 64);
        say(L"control", z++, GetDlgCtrlID(c), cls, GetWindowLongW(c, GWL_STYLE), r.left, r.top,
            r.right - r.left, r.bottom - r.top, textOf(c));
    }
    HDC dc = GetDC(nullptr);
    HFONT font = createCaptionFont(dpi);
    SelectObject(dc, font);
    const std::vector<ControlEntry> placed = layoutAt(dpi);
    for (const auto& c : placed) {
        if (c.kind == ControlKind::Label && *c.text != L'\0') {
            const CaptionLayout layout = layOutCaption(dc, c, placed);
            std::vector<WORD> glyphs(layout.ends.size());
            GetGlyphIndicesW(dc, c.text, static_cast<int>(glyphs.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS);
            std::wstring ends;
            for (const int end : layout.ends) {
                ends += (ends.empty() ? L"" : L",") + std::to_wstring(end);
            }
            say(L"extent", c.id, ends, layout.tail, layout.tailX,
                std::ranges::count(glyphs, 0xFFFF));
        }
    }
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
}

// Wine cannot read another process's menu: the check marks are read from a window of the same
// code made in this process, after "Interval Start" and "Interval Stop" came through its own
// message handling.
void menuSelf() {
    Form1Window self(GetModuleHandleW(nullptr));
    const auto checked = [&](const wchar_t* entry) {
        return (GetMenuState(GetMenu(self.handle()), form1::idOf(entry), MF_BYCOMMAND) &
                MF_CHECKED) != 0;
    };
    for (const wchar_t* chosen : {L"IntervalStart", L"IntervalStop"}) {
        SendMessageW(self.handle(), WM_COMMAND, form1::idOf(chosen), 0);
        say(L"marks", chosen, checked(L"IntervalStart"), checked(L"IntervalStop"));
    }
}

// The control that has the keyboard focus in the driven program's window thread.
HWND focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window(), nullptr), &info);
    return info.hwndFocus;
}

// Keys posted to the focused control as the keyboard posts them: a named key down and up
// (the message loop makes its character), any other text character by character.
void key(const std::wstring& name) {
    const std::map<std::wstring, WPARAM> keys = {
        {L"Tab", VK_TAB}, {L"Return", VK_RETURN}, {L"Escape", VK_ESCAPE}};
    HWND at = focus();
    require(at != nullptr, L"no control has the focus");
    if (!keys.contains(name)) {
        for (const wchar_t c : name) {
            PostMessageW(at, WM_CHAR, c, 1);
        }
        return;
    }
    PostMessageW(at, WM_KEYDOWN, keys.at(name), 1);
    PostMessageW(at, WM_KEYUP, keys.at(name), 0xC0000001);
}

HWND pressTab() {
    HWND from = focus();
    PostMessageW(from, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(from, WM_KEYUP, VK_TAB, 0xC0000001);
    HWND at = nullptr;
    await([&] { return (at = focus()) != from; }, 5000, L"Tab stayed on " + nameOf(from));
    return at;
}

void tabs(DWORD count) {
    say(L"focus", nameOf(focus()));
    for (DWORD i = 0; i < count; ++i) {
        say(L"focus", nameOf(pressTab()));
    }
}

void tabTo(const std::wstring& name) {
    for (int i = 0; nameOf(focus()) != name; ++i) {
        require(i < 60, L"Tab never reaches " + name);
        pressTab();
    }
}

// The control's rectangle in the window's client area.
RECT placed(HWND control) {
    RECT at{};
    GetWindowRect(control, &at);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&at), 2);
    return at;
}

// Inside the client area, and the window's topmost control at its centre.
bool inView(HWND control) {
    RECT client{};
    GetClientRect(window(), &client);
    const RECT at = placed(control);
    RECT both{};
    IntersectRect(&both, &at, &client);
    const POINT centre{(at.left + at.right) / 2, (at.top + at.bottom) / 2};
    return EqualRect(&both, &at) &&
           ChildWindowFromPointEx(window(), centre, CWP_SKIPINVISIBLE) == control;
}

// The scroll bars' arrows, as a technician clicks them, until the control is in view.
void scrollTo(HWND control) {
    for (int i = 0; !inView(control); ++i) {
        require(i < 200, nameOf(control) + L" is beyond the scroll bars");
        RECT client{};
        GetClientRect(window(), &client);
        const RECT at = placed(control);
        if (at.left < 0 || at.right > client.right) {
            SendMessageW(window(), WM_HSCROLL, at.left < 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
        }
        if (at.top < 0 || at.bottom > client.bottom) {
            SendMessageW(window(), WM_VSCROLL, at.top < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        }
    }
}

// As Windows tells a window moved to a monitor of another DPI: WM_DPICHANGED with the
// rectangle that scales the client area. The rectangle goes into the program's memory, since
// a pointer does not cross processes.
void changeDpi(UINT newDpi) {
    HWND w = window();
    RECT frame{};
    RECT client{};
    GetWindowRect(w, &frame);
    GetClientRect(w, &client);
    frame.right += scaled(form1::kClientWidth, newDpi) - client.right;
    frame.bottom += scaled(form1::kClientHeight, newDpi) - client.bottom;
    void* remote = VirtualAllocEx(driven.hProcess, nullptr, sizeof frame, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    require(remote != nullptr &&
                WriteProcessMemory(driven.hProcess, remote, &frame, sizeof frame, nullptr),
            L"the rectangle cannot be written into the program");
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(driven.hProcess, remote, 0, MEM_RELEASE);
    dpi = newDpi;
}

void inWorkArea() {
    RECT at{};
    GetWindowRect(window(), &at);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT both{};
    IntersectRect(&both, &at, &monitor.rcWork);
    say(L"window", at.left, at.top, at.right - at.left, at.bottom - at.top);
    require(EqualRect(&both, &at), L"the window reaches beyond the work area");
}

void start(const std::wstring& program, const std::wstring& arguments) {
    if (program == L"attach") {
        HWND w = FindWindowW(kClass, form1::kTitle);
        require(w != nullptr, L"no program to attach to");
        GetWindowThreadProcessId(w, &driven.dwProcessId);
        driven.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION |
                                          PROCESS_VM_OPERATION | PROCESS_VM_WRITE,
                                      FALSE, driven.dwProcessId);
        return;
    }
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    require(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           program.substr(0, program.find_last_of(L"\\/")).c_str(), &startup,
                           &driven),
            L"cannot start " + program);
}

void run(const std::vector<std::wstring>& args) {
    std::size_t next = 0;
    const auto take = [&] {
        require(next < args.size(), L"a step lacks its argument");
        return args[next++];
    };
    const auto number = [&] { return static_cast<DWORD>(std::stoul(take())); };
    const auto child = [&] { return GetDlgItem(window(), form1::idOf(take())); };
    const std::map<std::wstring, std::function<void()>> steps = {
        {L"shown",
         [] {
             await([] { return window() != nullptr; }, 60000, L"not shown");
             say(L"shown-ms", (Clock::now() - kStarted) / std::chrono::milliseconds(1));
         }},
        {L"hidden", [] { require(!window(), L"the window is shown"); }},
        {L"click", [&] { send(false, child(), BM_CLICK, 0); }},
        {L"press", [&] { send(true, child(), BM_CLICK, 0); }},
        {L"menu", [&] { send(false, window(), WM_COMMAND, form1::idOf(take())); }},
        {L"menu-post", [&] { send(true, window(), WM_COMMAND, form1::idOf(take())); }},
        {L"set",
         [&] {
             HWND box = child();
             send(false, box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(take().c_str()));
         }},
        {L"expect",
         [&] {
             HWND box = child();
             const std::wstring wanted = take();
             await([&] { return textOf(box) == wanted; }, 30000,
                   nameOf(box) + L" never shows " + wanted);
         }},
        {L"dialog", [] { say(L"dialog", textOf(GetDlgItem(awaitDialog(), kMessageTextId))); }},
        {L"message", [&] { answer(take(), L""); }},
        {L"input", [&] { answer(L"", take()); }},
        {L"no-message", [] { require(dialog() == nullptr, L"a message is shown"); }},
        {L"key", [&] { key(take()); }},
        {L"focus-text",
         [&] {
             const std::wstring wanted = take();
             await([&] { return textOf(focus()) == wanted; }, 5000,
                   L"the focus is not on " + wanted);
         }},
        {L"dialog-closes",
         [&] {
             await([] { return dialog() == nullptr; }, static_cast<int>(number()),
                   L"the dialog stays open");
         }},
        {L"visible",
         [&] {
             HWND control = child();
             await([&] { return IsWindowVisible(control) != FALSE; }, 10000,
                   nameOf(control) + L" stays hidden");
         }},
        {L"tabs", [&] { tabs(number()); }},
        {L"tab-to", [&] { tabTo(take()); }},
        {L"scroll-to", [&] { scrollTo(child()); }},
        {L"scroll-home",
         [] {
             SendMessageW(window(), WM_HSCROLL, SB_LEFT, 0);
             SendMessageW(window(), WM_VSCROLL, SB_TOP, 0);
         }},
        {L"in-view",
         [&] {
             HWND control = child();
             const bool wanted = take() == L"yes";
             await([&] { return inView(control) == wanted; }, 2000,
                   nameOf(control) + (wanted ? L" is out of view" : L" is in view"));
         }},
        {L"in-work-area", inWorkArea},
        {L"dpi", [&] { changeDpi(number()); }},
        {L"close", [] { send(true, window(), WM_CLOSE, 0); }},
        {L"exits",
         [&] {
             require(WaitForSingleObject(driven.hProcess, number()) == WAIT_OBJECT_0,
                     L"the program is still running");
             DWORD code = 0;
             GetExitCodeProcess(driven.hProcess, &code);
             say(L"exit-code", code);
         }},
        {L"sleep", [&] { Sleep(number()); }},
        {L"dump", [] { dump(window()); }},
        {L"menu-self", menuSelf},
    };
    while (next < args.size()) {
        const std::wstring verb = take();
        require(steps.contains(verb), L"unknown step " + verb);
        steps.at(verb)();
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Rectangles and fonts in the driven window's own pixels.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    dpi = GetDpiForSystem();
    // The locale the program runs in, for the scenario of a German desktop.
    wchar_t separator[8] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    say(L"decimal-separator", separator);
    try {
        const bool withArguments = argc > 3 && std::wstring(argv[2]) == L"args";
        start(argc > 1 ? argv[1] : L"", withArguments ? argv[3] : L"");
        run({argv + std::min(argc, withArguments ? 4 : 2), argv + argc});
    } catch (const std::exception& e) {
        std::printf("FAIL: %s\n", e.what());
        return 1;
    }
    return 0;
}
