#include "platform/win32/win32_process_runner.h"

#include <windows.h>

#include <optional>

#include "platform/win32/command_line.h"
#include "platform/win32/utf16.h"
#include "platform/win32/work_folder.h"

namespace {

struct Located {
    std::wstring folder;
    std::wstring file;
};

bool hasExtension(const std::wstring& name) {
    const auto dot = name.find_last_of(L'.');
    return dot != std::wstring::npos && name.find_first_of(L"\\/", dot) == std::wstring::npos;
}

std::optional<Located> locate(const std::wstring& program) {
    const std::wstring exe = hasExtension(program) ? program : program + L".exe";
    const std::wstring app = win32::toUtf16(win32::applicationFolder());
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = SearchPathW(app.c_str(), exe.c_str(), nullptr, MAX_PATH, path.data(), nullptr);
    if (length == 0 || length >= MAX_PATH) {
        length = SearchPathW(nullptr, exe.c_str(), nullptr, MAX_PATH, path.data(), nullptr);
    }
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    path.resize(length);
    const auto slash = path.find_last_of(L"\\/");
    return Located{path.substr(0, slash), exe};
}

std::wstring folderOf(const std::string& file) {
    const auto slash = file.find_last_of("\\/");
    return win32::toUtf16(slash == std::string::npos ? std::string() : file.substr(0, slash));
}

std::wstring nameOf(const std::string& file) {
    const auto slash = file.find_last_of("\\/");
    return win32::toUtf16(slash == std::string::npos ? file : file.substr(slash + 1));
}

bool sameFolder(const std::wstring& a, const std::wstring& b) {
    std::wstring fullA(MAX_PATH, L'\0');
    std::wstring fullB(MAX_PATH, L'\0');
    fullA.resize(GetFullPathNameW(a.c_str(), MAX_PATH, fullA.data(), nullptr));
    fullB.resize(GetFullPathNameW(b.c_str(), MAX_PATH, fullB.data(), nullptr));
    return CompareStringOrdinal(fullA.c_str(), -1, fullB.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Starts the line hidden in folder and waits for it to end.
// The tool's exit status; nothing when it could not be started.
std::optional<int> startAndWait(std::wstring commandLine, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return std::nullopt;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

} // namespace

std::optional<int> Win32ProcessRunner::run(const std::string& program,
                                           const std::vector<std::string>& args,
                                           const std::string& stdoutFile) {
    const std::wstring name = win32::toUtf16(program);
    const auto tool = locate(name);
    if (!tool) {
        return std::nullopt;
    }
    std::vector<std::wstring> wideArgs;
    wideArgs.reserve(args.size());
    for (const auto& arg : args) {
        wideArgs.push_back(win32::toUtf16(arg));
    }
    if (stdoutFile.empty()) {
        std::wstring line = win32::quotedArgument(name);
        for (const auto& arg : wideArgs) {
            line += L' ' + win32::quotedArgument(arg);
        }
        return startAndWait(line, win32::toUtf16(workFolder_));
    }
    // The interpreter finds the tool itself in the listing's folder or on the path; from the
    // application's folder it needs the whole path.
    const std::wstring folder = folderOf(stdoutFile);
    const std::wstring app = win32::toUtf16(win32::applicationFolder());
    const bool needsPath = sameFolder(tool->folder, app) && !sameFolder(folder, app);
    const auto command = win32::interpreterCommand(
        needsPath ? tool->folder + L"\\" + tool->file : tool->file, wideArgs, nameOf(stdoutFile));
    if (!command) {
        return std::nullopt;
    }
    return startAndWait(L"cmd.exe /c " + *command, folder);
}
