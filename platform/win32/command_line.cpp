#include "platform/win32/command_line.h"

namespace win32 {

namespace {

constexpr const wchar_t* kNeedsQuotes = L" \t\"&|<>^(),;=!";

} // namespace

std::wstring quotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(kNeedsQuotes) == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t ch : argument) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: doubled there, the quote itself escaped.
        quoted.append(ch == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += ch;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::optional<std::wstring> interpreterCommand(const std::wstring& program,
                                               const std::vector<std::wstring>& args,
                                               const std::wstring& listingName) {
    std::wstring command = quotedArgument(program);
    for (const auto& arg : args) {
        if (arg.find_first_of(L"\"%\r\n") != std::wstring::npos) {
            return std::nullopt;
        }
        command += L' ' + quotedArgument(arg);
    }
    command += L" > " + quotedArgument(listingName);
    // With a leading quote the interpreter drops the first and the last quote of the line:
    // a quoted program path stays whole only inside one more pair.
    if (command.front() == L'"') {
        command = L'"' + command + L'"';
    }
    return command;
}

} // namespace win32
