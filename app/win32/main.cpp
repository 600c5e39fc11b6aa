#include <exception>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/win32/form1_window.h"
#include "app/win32/windows_help.h"
#include "platform/win32/utf16.h"

#include <shellapi.h>

namespace {

// The program's arguments in UTF-8, its own name left out.
std::vector<std::string> arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; i < count; ++i) {
        utf8.push_back(win32::toUtf8(wide[i]));
    }
    LocalFree(wide);
    return utf8;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    try {
        const CommandLine options = parseCommandLine(arguments(), kWindowsHelp);
        if (options.exitStatus) {
            // A window program has no console to print to.
            MessageBoxW(nullptr, win32::toUtf16(options.answer).c_str(), L"Kelvara",
                        *options.exitStatus == 0 ? MB_ICONINFORMATION : MB_ICONERROR);
            return *options.exitStatus;
        }
        Form1Window form(instance);
        Session& session = form.session();
        applyCommandLine(options, session);
        if (!session.Form_Load()) {
            return session.exitStatus();
        }
        form.show(showCommand);
        return form.run();
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, win32::toUtf16(e.what()).c_str(), L"Kelvara", MB_ICONERROR);
        return 1;
    }
}
