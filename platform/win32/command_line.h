#pragma once

#include <optional>
#include <string>
#include <vector>

namespace win32 {

// One argument as CreateProcess's standard parsing gives it back: quoted when it holds a
// blank, a quote or a character the command interpreter would act on ("&" in device ids).
std::wstring quotedArgument(const std::wstring& argument);

// The text after "cmd.exe /c": the program and its arguments, stdout redirected to
// listingName. Nullopt for an argument the interpreter cannot be given safely (a quote, "%",
// a line break).
std::optional<std::wstring> interpreterCommand(const std::wstring& program,
                                               const std::vector<std::wstring>& args,
                                               const std::wstring& listingName);

} // namespace win32
