#include "app/command_line.h"

#include <charconv>

namespace {

constexpr int kBadOptions = 2;
constexpr int kFirstPort = 1;
constexpr int kLastPort = 128;

constexpr const char* kHelp = R"(Usage: kelvara [OPTION]...
Sets up, drives and watches an X-ray generator through its controller board on a serial line
(115200,N,8,1). At start it tries COM1..COM128 in turn and uses the first port whose controller
answers the status command "E"; when none answers it shows "Device is not found." and ends.

COM names (Linux): COMn is the link COMn in the port-link folder ($XDG_RUNTIME_DIR/kelvara/ports,
else /tmp/kelvara-<uid>/ports), else COM1..32 = /dev/ttyS0..31, COM33..64 = /dev/ttyUSB0..31,
COM65..96 = /dev/ttyACM0..31; COM97..128 only through a link.
A controller that falls silent is asked twice more, then its USB serial adapter is reset with
the device console (kelvara-devcon on Linux, devcon.exe on Windows) and the port reopened.

Options:
  --trace FILE         append every transaction to FILE as it happens, one line each with the
                       local time in ms: what was sent and came back (control characters and
                       bytes outside ASCII escaped), time-outs, resends, the adapter reset with
                       the device console's command lines and exit status, reopening, each
                       transaction's outcome, and every message box with its text
  --record FILE.csv    append one CSV row per monitoring tick: the time, the three monitor
                       boxes and the thirteen flags as shown; a part not read has empty fields
  --port N             use COMN (1..128) without the scan; when it does not answer the probe
                       "E", "Device is not found." is shown and the program ends
  -h, --help           this text
  -v, --version        print the version
Exit status: 0 done, 1 no controller answered, 2 bad options.
)";

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

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
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
            return help ? answered(0, kHelp) : answered(0, "kelvara " KELVARA_VERSION "\n");
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
