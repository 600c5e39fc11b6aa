#include "platform/win32/win32_message_boxes.h"

#include <vector>

#include "platform/win32/utf16.h"

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

struct InputBoxState {
    std::wstring prompt;
    std::wstring title;
    std::wstring answer;
};

// An in-memory dialog template: header, then items, each DWORD-aligned.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, WORD items) {
        put(style);
        put(DWORD{0});
        words_.push_back(items);
        putRect(0, 0, width, height);
        words_.push_back(0); // no menu
        words_.push_back(0); // standard class
        words_.push_back(0); // title, set at run time
        words_.push_back(9);
        putText(L"MS Shell Dlg");
    }

    void item(DWORD style, short x, short y, short width, short height, WORD id, WORD control,
              const wchar_t* text) {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);
        }
        put(style | WS_CHILD | WS_VISIBLE);
        put(DWORD{0});
        putRect(x, y, width, height);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(control);
        putText(text);
        words_.push_back(0); // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void put(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void putRect(short x, short y, short width, short height) {
        for (const short v : {x, y, width, height}) {
            words_.push_back(static_cast<WORD>(v));
        }
    }
    void putText(const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            words_.push_back(static_cast<WORD>(*text));
        }
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* state = reinterpret_cast<InputBoxState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, state->title.c_str());
        SetDlgItemTextW(dialog, kPromptId, state->prompt.c_str());
        SetFocus(GetDlgItem(dialog, kEditId));
        return FALSE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const WORD id = LOWORD(wParam);
    if (id == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        HWND edit = GetDlgItem(dialog, kEditId);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        state->answer = text;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int Win32MessageBoxes::messageBox(const std::string& text, int flags, const std::string& title) {
    return MessageBoxW(owner_, win32::toUtf16(text).c_str(), win32::toUtf16(title).c_str(),
                       static_cast<UINT>(flags));
}

std::string Win32MessageBoxes::inputBox(const std::string& prompt, const std::string& title) {
    constexpr WORD kButton = 0x0080;
    constexpr WORD kEdit = 0x0081;
    constexpr WORD kStatic = 0x0082;
    DialogTemplate dialog(
        DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 70, 4);
    dialog.item(SS_LEFT, 7, 7, 150, 30, kPromptId, kStatic, L"");
    dialog.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 45, 206, 14, kEditId, kEdit, L"");
    dialog.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 163, 7, 50, 14, IDOK, kButton, L"OK");
    dialog.item(BS_PUSHBUTTON | WS_TABSTOP, 163, 24, 50, 14, IDCANCEL, kButton, L"Cancel");
    InputBoxState state{win32::toUtf16(prompt), win32::toUtf16(title), {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner_,
                                                   inputBoxProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) {
        return {};
    }
    return win32::toUtf8(state.answer);
}
