#include "sim/sim_options.h"

#include "sim/sim_values.h"

#include <functional>
#include <string_view>

namespace {

struct Option {
    std::string_view name;
    std::string_view value; // what the value must be; empty for a switch
    // False when the value is not valid.
    std::function<bool(SimOptions&, std::string_view)> apply;
};

Option integer(std::string_view name, std::string_view what, long min, long max,
               std::function<void(SimOptions&, long)> set) {
    return {name, what, [=](SimOptions& o, std::string_view text) {
                const auto value = simvalues::parseInteger(text, min, max);
                if (value)
                    set(o, *value);
                return value.has_value();
            }};
}

Option flag(std::string_view name, std::function<void(SimOptions&)> set) {
    return {name, "", [set](SimOptions& o, std::string_view) {
                set(o);
                return true;
            }};
}

bool setCounts(SimOptions& o, std::string_view text) {
    std::array<std::optional<int>, 3> counts;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const auto comma = text.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == counts.size()))
            return false;
        const auto count = simvalues::parseCount(text.substr(0, comma));
        if (!count)
            return false;
        counts[i] = *count;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    o.fixedCounts = counts;
    return true;
}

const std::vector<Option>& options() {
    static const std::vector<Option> table = {
        integer("--port", "a COM number from 1 to 128", 1, 128,
                [](SimOptions& o, long n) { o.port = static_cast<int>(n); }),
        integer("--fil-count", "a count from 0 to 9999", 0, Controller::maxCount,
                [](SimOptions& o, long n) { o.filamentCount = static_cast<int>(n); }),
        {"--counts", "F,K,M with each a count from 0 to 9999 or -", setCounts},
        integer("--noise", "a count from 0 to 100", 0, simvalues::maxNoise,
                [](SimOptions& o, long n) { o.noise = static_cast<int>(n); }),
        {"--flags", "thirteen 0/1 digits",
         [](SimOptions& o, std::string_view text) {
             const auto flags = simvalues::parseFlags(text);
             if (flags)
                 o.flags = *flags;
             return flags.has_value();
         }},
        flag("--no-pacing", [](SimOptions& o) { o.pacing = false; }),
        flag("--silent", [](SimOptions& o) { o.faults.silent = true; }),
        integer("--silent-after", "a number of commands", 0, simvalues::maxCommandCount,
                [](SimOptions& o, long n) { o.faults.answersLeft = n; }),
        integer("--silent-for", "a number of commands", 0, simvalues::maxCommandCount,
                [](SimOptions& o, long n) { o.faults.ignoreNext = n; }),
        integer("--late", "milliseconds from 0 to 600000", 0, simvalues::maxLateMs,
                [](SimOptions& o, long ms) { o.faults.late = std::chrono::milliseconds(ms); }),
        integer("--split", "a number of pieces from 1 to 64", 1, LineFaults::maxPieces,
                [](SimOptions& o, long k) { o.faults.pieces = static_cast<int>(k); }),
        flag("--stale-semicolon", [](SimOptions& o) { o.faults.staleSemicolon = true; }),
        flag("--garbage", [](SimOptions& o) { o.faults.garbage = true; }),
        flag("--out-of-range", [](SimOptions& o) { o.outOfRange = true; }),
        flag("--probe-only", [](SimOptions& o) { o.faults.probeOnly = true; }),
        {"--control", "a control line",
         [](SimOptions& o, std::string_view text) {
             o.controlLine = std::string(text);
             return true;
         }},
        flag("--help", [](SimOptions& o) { o.help = true; }),
    };
    return table;
}

const Option* findOption(std::string_view name) {
    for (const auto& option : options()) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

} // namespace

std::variant<SimOptions, std::string> parseSimOptions(const std::vector<std::string>& args) {
    SimOptions result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "-h")
            arg = "--help";
        std::optional<std::string_view> value;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const Option* option = findOption(arg);
        if (option == nullptr)
            return "unknown option '" + args[i] + "'";
        if (option->value.empty()) {
            if (value)
                return std::string(arg) + " takes no value";
            option->apply(result, {});
            continue;
        }
        if (!value) {
            if (i + 1 == args.size())
                return std::string(arg) + " needs " + std::string(option->value);
            value = args[++i];
        }
        if (!option->apply(result, *value))
            return std::string(arg) + " needs " + std::string(option->value) + ", not '" +
                   std::string(*value) + "'";
    }
    return result;
}

void configure(SimState& state, const SimOptions& options) {
    state.controller.setFilamentCount(options.filamentCount);
    state.controller.fixCount(Controller::Channel::Filament, options.fixedCounts[0]);
    state.controller.fixCount(Controller::Channel::Kv, options.fixedCounts[1]);
    state.controller.fixCount(Controller::Channel::Ma, options.fixedCounts[2]);
    state.controller.setNoise(options.noise);
    for (int i = 0; i < Controller::flagCount; ++i)
        state.controller.setFlag(i, options.flags[static_cast<std::size_t>(i)]);
    state.controller.setOutOfRange(options.outOfRange);
    state.faults = options.faults;
    state.pacing = options.pacing;
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
  counts F K M         fix counts as --counts (blank-separated, "-" to follow)
  flags BITS           set all thirteen flags
  flag I V             set flag I (0..12, XRAY_STATUS = 0, DOOR = 12) to V (0 or 1)
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
