#include "sim/sim_options.h"

#include "sim/control_commands.h"
#include "sim/sim_settings.h"

#include <algorithm>
#include <string_view>

namespace {

const Setting* findSetting(std::string_view option) {
    for (const auto& setting : simSettings()) {
        if (!setting.option.empty() && setting.option == option) {
            return &setting;
        }
    }
    return nullptr;
}

// The control line an option's value stands for; nullopt when the value is not valid. A value
// of several arguments has them comma-separated ("--counts 1,-,3" is "counts 1 - 3"). The line
// is tried on a scratch state, so that a bad value stops the start with a usage line.
std::optional<std::string> settingLine(const Setting& setting, std::string_view value) {
    std::string line(setting.name);
    Setting::Words words = {setting.name};
    for (std::size_t start = 0; start <= value.size();) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        words.push_back(value.substr(start, comma - start));
        line += " " + std::string(words.back());
        start = comma + 1;
    }
    SimState scratch(0);
    if (words.size() != setting.arguments + 1 || !setting.apply(scratch, words)) {
        return std::nullopt;
    }
    return line;
}

} // namespace

std::variant<SimOptions, std::string> parseSimOptions(const std::vector<std::string>& args) {
    SimOptions result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> value;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const Setting* setting = findSetting(arg);
        const bool isSwitch =
            arg == "-h" || arg == "--help" || (setting != nullptr && !setting->implied.empty());
        if (setting == nullptr && !isSwitch && arg != "--port" && arg != "--control") {
            return "unknown option '" + args[i] + "'";
        }
        if (isSwitch && value) {
            return std::string(arg) + " takes no value";
        }
        if (!isSwitch && !value) {
            if (i + 1 == args.size()) {
                return std::string(arg) + " needs a value";
            }
            value = args[++i];
        }
        if (setting != nullptr) {
            const std::string_view given = value.value_or(setting->implied);
            const auto line = settingLine(*setting, given);
            if (!line) {
                return std::string(arg) + " needs " + std::string(setting->usage) + ", not '" +
                       std::string(given) + "'";
            }
            result.settings.push_back(*line);
        } else if (arg == "--port") {
            const auto port = parseInteger(*value, 1, 128);
            if (!port) {
                return "--port needs a COM number from 1 to 128, not '" + std::string(*value) + "'";
            }
            result.port = static_cast<int>(*port);
        } else if (arg == "--control") {
            result.controlLine = std::string(*value);
        } else {
            result.help = true;
        }
    }
    return result;
}

void configure(SimState& state, const SimOptions& options) {
    for (const auto& line : options.settings) {
        applyControl(state, line);
    }
}

std::string helpText() {
    return R"(Usage: kelvara-sim [OPTION]...
Simulates the X-ray generator's controller board on a pseudo-terminal and links it as COMn
in the port-link folder ($XDG_RUNTIME_DIR/kelvara/ports, else /tmp/kelvara-<uid>/ports),
where the program finds it by its port scan. Prints "kelvara-sim: COMn -> /dev/pts/N" once it
is ready. SIGINT, SIGTERM or the control line "quit" end it and remove its files.

Line: commands end with CR, LF or CR LF; replies end with ";" and go out at the wire speed of
115200,N,8,1 (86.8 us a byte).
  R0..R13          "R<value>;" (start values 20 38 500 300 100 20 100 20 1640 1 1210 0 861 501)
  W00,v..W07,v     write registers 0..7;  c v, d v, k v, j v  registers 8..11
  W12,v W13,v      write registers 12, 13. A read returns the number text last written.
                   A write is answered with the command and ";" (W00,20 -> "W00,20;").
  Vv, Iv           kV and mA set-points, answered like writes
  A1, F3.8         "A1;", "F3.8;"
  S1               "Sffff,kkkk,mmmm;": filament, kV and mA counts, four digits, 0..9999;
                   kV and mA follow the set-points (60 kV and 80 mA are 1024 counts)
  E                "E" and the thirteen flags 0/1 with "," between, "E0,0,0,0,0,0,0,0,0,0,0,0,0;"
  the empty line   ";"
  anything else    ";" (so is a write whose value is no number, and a line over 256 bytes)

Options:
  --port N             link as COM<N>, 1..128 (default 3)
  --fil-count N        filament count, 0..9999 (default 512)
  --counts F,K,M       fix the filament, kV and mA counts (0..9999; "-" leaves one following
                       its source); fixed counts carry no noise
  --noise N            noise of +-N counts on the counts that are not fixed (default 1, 0 = off)
  --flags BITS         the thirteen flags, XRAY_STATUS first (e.g. 0100000000000)
  --no-pacing          send replies at once instead of at the wire speed
Faults:
  --silent             never answer
  --silent-after N     answer the first N commands, then fall silent
  --silent-for N       ignore the next N commands, then answer again
  --late MS            send each reply MS milliseconds late
  --split K            send each reply in K pieces, 10 ms apart
  --stale-semicolon    send a lone ";" 10 ms ahead of each reply
  --garbage            answer with random text that holds no ";"
  --out-of-range       answer S1 with "S9E99,9E99,9E99;", R<n> with a 20-digit value and E
                       with every flag 7
  --probe-only         answer "E" only, nothing else
Silenced commands do nothing at all. Faults combine: a late, split reply led by a stale ";".

Control channel: the stream socket COMn.ctl beside the link (mode 0600) takes one line per
connection and answers "ok" or "error: <reason>". From a script:
  kelvara-sim --port N --control "LINE"   (prints the answer; exit 0 on "ok", else 1)
Lines:
  fil-count N          as --fil-count
  counts F K M         fix counts as --counts (blank-separated, "-" to follow)
  flags BITS           set all thirteen flags
  flag I V             set flag I (0..12, XRAY_STATUS = 0, DOOR = 12) to V (0 or 1)
  register N V         store the number text V in register N (0..13), as a write does
  noise N              as --noise
  silent on|off        fall silent / end every silence (not a disable)
  silent-after N       answer N more commands, then fall silent
  silent-for N         ignore the next N commands
  silent-until-enable  stay silent until the device console's enable
  disable | enable     the device console disabled / enabled the adapter: silent while disabled
  pacing on|off        wire-speed pacing
  late MS | split K    as --late, --split
  stale-semicolon on|off, garbage on|off, out-of-range on|off, probe-only on|off
  quit                 end the simulator

Other:
  --control LINE       send LINE to the simulator running on --port and exit
  -h, --help           this text
Exit status: 0 done, 1 could not start (folder not safe, port taken, no pseudo-terminal) or
the control line failed, 2 bad options.
)";
}
