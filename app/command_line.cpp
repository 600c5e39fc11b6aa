#include "app/command_line.h"

#include <charconv>

namespace {

constexpr int kBadOptions = 2;
constexpr int kFirstPort = 1;
constexpr int kLastPort = 128;

CommandLine answered(int status, std::string answer) {
    CommandLine line;
    line.exitStatus = status;
    line.answer = std::move(answer);
    return line;
}

CommandLine refused(const std::string& why) {
    return answered(kBadOptions, "kelvara: " + why + " (see kelvara --help)\n");
}

std::optional<int16_t> portNumber(const std::string& text) {
    int n = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (failure != std::errc() || end != text.data() + text.size() || n < kFirstPort ||
        n > kLastPort) {
        return std::nullopt;
    }
    return static_cast<int16_t>(n);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments, std::string_view helpText) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const bool help = name == "-h" || name == "--help";
        if (help || name == "-v" || name == "--version") {
            if (value) {
                return refused("'" + name + "' takes no value");
            }
            return help ? answered(0, std::string(helpText))
                        : answered(0, "kelvara " KELVARA_VERSION "\n");
        }
        std::string* path = name == "--trace"    ? &line.tracePath
                            : name == "--record" ? &line.recordPath
                                                 : nullptr;
        if (path == nullptr && name != "--port") {
            return refused(name.rfind('-', 0) == 0 ? "unknown option '" + name + "'"
                                                   : "unexpected argument '" + name + "'");
        }
        if (!value) {
            if (i + 1 == arguments.size()) {
                return refused("missing value after '" + name + "'");
            }
            value = arguments[++i];
        }
        if (value->empty()) {
            return refused("missing value after '" + name + "'");
        }
        if (path != nullptr) {
            *path = *value;
        } else if (const auto port = portNumber(*value)) {
            line.port = *port;
        } else {
            return refused("--port takes a COM number from 1 to 128, not '" + *value + "'");
        }
    }
    return line;
}
