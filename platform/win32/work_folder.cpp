#include "platform/win32/work_folder.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace win32 {

namespace {

bool canCreateFileIn(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\kelvara-write-test.tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

} // namespace

std::string applicationFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return toUtf8(path.substr(0, slash == std::wstring::npos ? 0 : slash));
}

std::string workFolderFor(const std::string& appFolder, const std::string& localAppData) {
    if (!appFolder.empty() && canCreateFileIn(toUtf16(appFolder))) {
        return appFolder;
    }
    if (localAppData.empty()) {
        return {};
    }
    const std::string folder = localAppData + "\\Kelvara";
    const std::wstring wide = toUtf16(folder);
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    return canCreateFileIn(wide) ? folder : std::string();
}

std::string workFolder() {
    std::wstring localAppData(MAX_PATH, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", localAppData.data(),
                                                 static_cast<DWORD>(localAppData.size()));
    localAppData.resize(length < localAppData.size() ? length : 0);
    return workFolderFor(applicationFolder(), toUtf8(localAppData));
}

} // namespace win32
