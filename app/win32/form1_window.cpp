#include "app/win32/form1_window.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "app/win32/caption_font.h"
#include "app/win32/caption_layout.h"
#include "app/win32/form1_layout.h"
#include "app/win32/layout_names.h"
#include "app/win32/scaled_layout.h"
#include "platform/win32/system_error.h"
#include "platform/win32/utf16.h"
#include "platform/win32/work_folder.h"

namespace {

constexpr wchar_t kWindowClass[] = L"KelvaraForm1";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimerIntervalMs = 100;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

// Focusable controls first, in the tab walk's order, since the dialog manager walks siblings
// from the top; labels beneath them, so that boxes and buttons cover the labels they lie on;
// frames at the bottom.
std::vector<const ControlEntry*> creationOrder() {
    std::vector<const ControlEntry*> order;
    for (const auto& c : form1::kControls) {
        order.push_back(&c);
    }
    const auto layer = [](const ControlEntry* c) {
        return c->kind == ControlKind::Frame ? 2 : c->kind == ControlKind::Label ? 1 : 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](const ControlEntry* a, const ControlEntry* b) {
        if (layer(a) != layer(b)) {
            return layer(a) < layer(b);
        }
        return a->tab < b->tab;
    });
    return order;
}

struct ChildClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ChildClass childClass(const ControlEntry& c) {
    switch (c.kind) {
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label:
        return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::Box:
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (c.readOnly ? ES_READONLY : 0u),
                WS_EX_CLIENTEDGE};
    case ControlKind::Button:
        // BS_NOTIFY: the window hears when the focus comes, to scroll the button into view.
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0};
    }
    throw std::logic_error("unknown control kind");
}

// A label as the layout of its caption places it, centred on its line.
void drawCaption(const DRAWITEMSTRUCT& item, const ControlEntry& label, HFONT font,
                 std::span<const ControlEntry> layout) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int y = (item.rcItem.bottom - item.rcItem.top - metrics.tmHeight) / 2;
    const CaptionLayout caption = layOutCaption(dc, label, layout);
    const std::wstring_view text = label.text;
    TextOutW(dc, 0, y, text.data(), static_cast<int>(caption.tail));
    if (caption.tail < text.size()) {
        TextOutW(dc, caption.tailX, y, text.data() + caption.tail,
                 static_cast<int>(text.size() - caption.tail));
    }
    SelectObject(dc, previous);
}

BOOL CALLBACK closeDialog(HWND dialog, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(dialog, className, 16);
    if (std::wstring(className) == L"#32770") {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

} // namespace

Form1Window::Form1Window(HINSTANCE instance)
    : workFolder_(win32::workFolder()),
      session_(SessionSeams{boxes_, tones_, console_, MSComm5, counter_, pump_, "devcon.exe",
                            workFolder_, &deviceTree_},
               *this) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's icon, resource 1 of kelvara.exe; a test driver without one gets Windows'.
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (wc.hIcon == nullptr) {
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    if (RegisterClassExW(&wc) == 0) {
        throw std::runtime_error("the window class could not be registered: " +
                                 win32::systemDescription(GetLastError()));
    }

    if (CreateWindowExW(kWindowExStyle, kWindowClass, form1::kTitle, kWindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                        this) == nullptr) {
        throw std::runtime_error("the window could not be created: " +
                                 win32::systemDescription(GetLastError()));
    }
    createMenu();
    createControls();
    setDpi(GetDpiForWindow(hwnd_));
    openInsideWorkArea();
    pump_.watch(MSComm5.receiveEvent());
    pump_.setDialogWindow(hwnd_);
}

// The window itself goes with the process: under Wine, changing it just after a dialog
// has ended can wait for ever on the display's focus.
Form1Window::~Form1Window() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
    DeleteObject(font_);
}

void Form1Window::createControls() {
    for (const ControlEntry* c : creationOrder()) {
        const ChildClass cls = childClass(*c);
        HWND child = CreateWindowExW(
            cls.exStyle, cls.className, c->text,
            WS_CHILD | WS_CLIPSIBLINGS | (c->visible ? WS_VISIBLE : 0u) | cls.style, 0, 0, 0, 0,
            hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)), nullptr, nullptr);
        if (c->kind == ControlKind::Box) {
            boxHandles_.emplace(*BoxName::byDesignerName(win32::toUtf8(c->name)), child);
        }
    }
}

// The layout and the captions' font for dpi; the old font goes once no control uses it.
void Form1Window::setDpi(UINT dpi) {
    dpi_ = dpi;
    client_.setLayout(layoutAt(dpi), dpi);
    const HFONT previous = font_;
    font_ = createCaptionFont(dpi);
    for (const ControlEntry& c : client_.layout()) {
        SendMessageW(GetDlgItem(hwnd_, c.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    DeleteObject(previous);
    client_.layOut();
}

// The design size at the window's DPI, within the work area of its monitor: at 125 % a laptop
// screen is lower than the design, and the scroll bars reach the rest.
void Form1Window::openInsideWorkArea() {
    RECT frame{0, 0, scaled(form1::kClientWidth, dpi_), scaled(form1::kClientHeight, dpi_)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExStyle, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int height = std::min<int>(frame.bottom - frame.top, work.bottom - work.top);
    // Lower than the design: room for the vertical bar, so that the width needs no other.
    const int bar =
        height < frame.bottom - frame.top ? GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_) : 0;
    const int width = std::min<int>(frame.right - frame.left + bar, work.right - work.left);
    RECT at{};
    GetWindowRect(hwnd_, &at);
    SetWindowPos(hwnd_, nullptr, std::clamp<int>(at.left, work.left, work.right - width),
                 std::clamp<int>(at.top, work.top, work.bottom - height), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::createMenu() {
    HMENU dropDown = CreatePopupMenu();
    for (const auto& e : form1::kMenu) {
        if (e.id == 0) {
            AppendMenuW(dropDown, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(dropDown, MF_STRING | (e.checked ? MF_CHECKED : MF_UNCHECKED),
                    static_cast<UINT_PTR>(e.id), e.text);
    }
    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown), form1::kMenuTitle);
    SetMenu(hwnd_, menu_);
}

void Form1Window::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    boxes_.setOwner(hwnd_);
    lastFocus_ = boxHandles_.at("Text1");
    SetFocus(lastFocus_);
}

int Form1Window::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd_, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        self->client_.setWindow(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (client_.handle(message, wParam)) {
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            onCommand(LOWORD(wParam));
        } else if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == BN_SETFOCUS) {
            client_.bringIntoView(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const std::vector<ControlEntry>& layout = client_.layout();
        const auto label =
            std::ranges::find(layout, static_cast<int>(item->CtlID), &ControlEntry::id);
        if (label == layout.end() || label->kind != ControlKind::Label) {
            break;
        }
        drawCaption(*item, *label, font_, layout);
        return TRUE;
    }
    case WM_DPICHANGED: {
        setDpi(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimer1) {
            session_.timerExpired();
        }
        return 0;
    case WM_ACTIVATE:
        // A plain window forgets its focused control when it is deactivated.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (IsChild(hwnd_, GetFocus())) {
                lastFocus_ = GetFocus();
            }
        } else if (lastFocus_ != nullptr && IsChild(hwnd_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_CLOSE:
        session_.Form_Unload();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1Window::onCommand(int id) {
    const std::string name = win32::toUtf8(form1::nameOf(id));
    if (const auto button = ButtonName::byDesignerName(name)) {
        session_.click(*button);
    } else if (const auto entry = MenuName::byDesignerName(name)) {
        session_.choose(*entry);
    }
}

void Form1Window::endDialogs() { EnumThreadWindows(GetCurrentThreadId(), closeDialog, 0); }

void Form1Window::logFault(const std::string& text) {
    OutputDebugStringW((win32::toUtf16(text) + L"\n").c_str());
}

std::string Form1Window::text(BoxName box) {
    HWND edit = boxHandles_.at(box);
    std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    wide.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, wide.data(), static_cast<int>(wide.size()))));
    return win32::toUtf8(wide);
}

// A box that already shows the text is left alone: every monitoring tick sets sixteen boxes,
// mostly to what they show, and each setting repaints the box.
void Form1Window::setText(BoxName box, const std::string& text) {
    if (this->text(box) != text) {
        SetWindowTextW(boxHandles_.at(box), win32::toUtf16(text).c_str());
    }
}

void Form1Window::showFrame(FrameName frame) {
    const std::wstring name = win32::toUtf16(std::string(frame.designerName()));
    for (const auto& c : form1::kControls) {
        if (c.name == name || c.frame == name) {
            ShowWindow(GetDlgItem(hwnd_, c.id), SW_SHOW);
        }
    }
    client_.layOut();
}

void Form1Window::setTimerEnabled(bool enabled) {
    if (enabled == timerOn_) {
        return;
    }
    timerOn_ = enabled;
    if (enabled) {
        SetTimer(hwnd_, kTimer1, kTimerIntervalMs, nullptr);
    } else {
        KillTimer(hwnd_, kTimer1);
    }
}

void Form1Window::setChecked(MenuName menuEntry, bool checked) {
    CheckMenuItem(
        menu_,
        static_cast<UINT>(form1::idOf(win32::toUtf16(std::string(menuEntry.designerName())))),
        MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}
