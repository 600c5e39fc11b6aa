#include <exception>

#include "app/win32/form1_window.h"
#include "platform/win32/utf16.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    try {
        Form1Window form(instance);
        if (!form.Form_Load()) {
            return 0;
        }
        form.show(showCommand);
        return form.run();
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, win32::toUtf16(e.what()).c_str(), L"Kelvara", MB_ICONERROR);
        return 1;
    }
}
