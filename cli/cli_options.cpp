#include "cli/cli_options.h"

#include <charconv>

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 128;

constexpr const char* kHelp = R"(Usage: kelvara-cli [OPTION]... COMMAND
Reads, compares and restores the stored parameters of an X-ray generator's controller board,
and reads its status, on the serial line the window uses (115200,N,8,1). It finds the
controller as the window does: COM1..COM128 in turn, the first port that answers "E".

Commands:
  scan                         list the COM ports whose controller answers "E"
  status                       the thirteen status flags by name, as the window shows them
  monitor [--count K]          one monitoring row per 100 ms tick on stdout (CSV, as --record
                               of the window writes it), K rows or until Ctrl+C
  params save FILE             read the twelve parameter registers into FILE
  params diff FILE             name the registers whose stored value differs from FILE
  params restore FILE [--dry-run]
                               write the registers that differ from FILE, read each back and
                               say, by register, what was written, verified or not written;
                               --dry-run only says what would be written

Options:
  --calibration        with params: the A/D calibration registers AD_GAIN and AD_OFFSET too,
                       after the password asked on the terminal
  --port N             use COMN (1..128) without the scan
  --trace FILE         append every transaction to FILE, as the window's --trace does
  -h, --help           this text
  -v, --version        print the version

The file: UTF-8 text. The first line is "kelvara-parameters 1"; then one "NAME = VALUE" line
per register (PWR_LMT FIL_LMT KV_MAX mA_MAX KV_OUT mA_OUT KV_MIN mA_MIN KV_SLOPE KV_OFFSET
mA_SLOPE mA_OFFSET, and AD_GAIN AD_OFFSET with --calibration), each exactly once, in any
order, with the whole number the controller stores: 0..65535, or -32768..32767 for KV_OFFSET,
mA_OFFSET, AD_GAIN and AD_OFFSET. Blank lines and lines that begin with "#" are comments. A
file that is not exactly that is refused whole, with its line numbers, before anything is sent.

Exit status: 0 done (params diff: equal), 1 params diff found differences, 2 a bad command
line, no terminal or a wrong password, 3 a file refused, 4 "Device is not found." or the link
lost, 5 a restore that wrote only part, or whose read-back differs.
)";

std::optional<int> number(const std::string& text, int lowest, int highest) {
    int n = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (failure != std::errc() || end != text.data() + text.size() || n < lowest || n > highest) {
        return std::nullopt;
    }
    return n;
}

CliParse refused(const std::string& why) { return {std::nullopt, why}; }

} // namespace

const char* cliHelp() { return kHelp; }

std::optional<int> answerCommandLine(const CliParse& parse, const std::string& version,
                                     std::ostream& out, std::ostream& err) {
    if (!parse.options) {
        err << "kelvara-cli: " << parse.error << " (see kelvara-cli --help)\n";
        return static_cast<int>(CliExit::BadUsage);
    }
    switch (parse.options->command) {
    case CliCommand::Help:
        out << kHelp;
        return 0;
    case CliCommand::Version:
        out << "kelvara-cli " << version << "\n";
        return 0;
    default:
        return std::nullopt;
    }
}

CliParse parseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions o;
    std::vector<std::string> words;
    bool countGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "-h" || a == "--help" || a == "-v" || a == "--version") {
            o.command = a == "-h" || a == "--help" ? CliCommand::Help : CliCommand::Version;
            return {o, ""};
        }
        if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--calibration") {
            o.calibration = true;
        } else if (a == "--port" || a == "--trace" || a == "--count") {
            if (i + 1 == arguments.size()) {
                return refused(a + " needs a value");
            }
            const std::string& value = arguments[++i];
            if (a == "--trace") {
                o.tracePath = value;
            } else if (a == "--port") {
                const auto port = number(value, kFirstPort, kLastPort);
                if (!port) {
                    return refused("--port takes a COM number from 1 to 128, not \"" + value +
                                   "\"");
                }
                o.port = static_cast<int16_t>(*port);
            } else {
                const auto count = number(value, 1, 1000000000);
                if (!count) {
                    return refused("--count takes a number of rows from 1 on, not \"" + value +
                                   "\"");
                }
                o.count = *count;
                countGiven = true;
            }
        } else if (a.starts_with("-") && a != "-") {
            return refused("unknown option " + a);
        } else {
            words.push_back(a);
        }
    }
    if (words.empty()) {
        return refused("no command given");
    }
    const std::string& command = words[0];
    const bool params = command == "params";
    if (params) {
        if (words.size() != 3) {
            return refused("params takes save, diff or restore and a FILE");
        }
        const std::string& verb = words[1];
        if (verb == "save") {
            o.command = CliCommand::Save;
        } else if (verb == "diff") {
            o.command = CliCommand::Diff;
        } else if (verb == "restore") {
            o.command = CliCommand::Restore;
        } else {
            return refused("params takes save, diff or restore, not \"" + verb + "\"");
        }
        o.file = words[2];
    } else if ((command == "scan" || command == "status" || command == "monitor") &&
               words.size() == 1) {
        o.command = command == "scan"     ? CliCommand::Scan
                    : command == "status" ? CliCommand::Status
                                          : CliCommand::Monitor;
    } else if (command == "scan" || command == "status" || command == "monitor") {
        return refused(command + " takes no further words");
    } else {
        return refused("unknown command \"" + command + "\"");
    }
    if (o.dryRun && o.command != CliCommand::Restore) {
        return refused("--dry-run goes with params restore only");
    }
    if (o.calibration && !params) {
        return refused("--calibration goes with params only");
    }
    if (countGiven && o.command != CliCommand::Monitor) {
        return refused("--count goes with monitor only");
    }
    return {o, ""};
}
