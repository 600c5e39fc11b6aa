#pragma once

#include <string>

namespace win32 {

// The folder of the running exe.
std::string applicationFolder();

// Where the device console's listing goes: appFolder when a file can be created there,
// otherwise localAppData\Kelvara (created). Empty when neither is usable.
std::string workFolderFor(const std::string& appFolder, const std::string& localAppData);

// workFolderFor the application's folder and the user's %LOCALAPPDATA%.
std::string workFolder();

} // namespace win32
