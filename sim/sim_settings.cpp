#include "sim/sim_settings.h"

#include <charconv>

namespace {

using Words = Setting::Words;

constexpr long kMaxLateMs = 600000;
constexpr long kMaxCommandCount = 1000000000;
constexpr long kMaxNoise = 100;

// A monitor count 0..9999, or "-" for a count that follows its source (outer nullopt: invalid).
std::optional<std::optional<int>> parseCount(std::string_view text) {
    if (text == "-") {
        return std::optional<std::optional<int>>(std::in_place);
    }
    if (const auto value = parseInteger(text, 0, Controller::kMaxCount)) {
        return std::optional<int>(static_cast<int>(*value));
    }
    return std::nullopt;
}

std::optional<bool> onOff(std::string_view word) {
    if (word == "on") {
        return true;
    }
    if (word == "off") {
        return false;
    }
    return std::nullopt;
}

Setting number(std::string_view name, std::string_view option, std::string_view usage, long min,
               long max, const std::function<void(SimState&, long)>& set) {
    return {name, option, "", 1, usage, [=](SimState& s, const Words& w) {
                const auto value = parseInteger(w[1], min, max);
                if (value) {
                    set(s, *value);
                }
                return value.has_value();
            }};
}

Setting toggle(std::string_view name, std::string_view option, std::string_view implied,
               const std::function<void(SimState&, bool)>& set) {
    return {name, option, implied, 1, "on|off", [set](SimState& s, const Words& w) {
                const auto on = onOff(w[1]);
                if (on) {
                    set(s, *on);
                }
                return on.has_value();
            }};
}

// A control line without arguments.
Setting action(std::string_view name, const std::function<void(SimState&)>& run) {
    return {name, "", "", 0, "", [run](SimState& s, const Words&) {
                run(s);
                return true;
            }};
}

bool setCounts(SimState& s, const Words& w) {
    const auto filament = parseCount(w[1]);
    const auto kv = parseCount(w[2]);
    const auto ma = parseCount(w[3]);
    if (!filament || !kv || !ma) {
        return false;
    }
    s.controller.fixCount(Controller::Channel::Filament, *filament);
    s.controller.fixCount(Controller::Channel::Kv, *kv);
    s.controller.fixCount(Controller::Channel::Ma, *ma);
    return true;
}

bool setFlags(SimState& s, const Words& w) {
    const std::string_view bits = w[1];
    if (bits.size() != Controller::kFlagCount ||
        bits.find_first_not_of("01") != std::string_view::npos) {
        return false;
    }
    for (std::size_t i = 0; i < bits.size(); ++i) {
        s.controller.setFlag(static_cast<int>(i), bits[i] == '1');
    }
    return true;
}

bool setOneFlag(SimState& s, const Words& w) {
    const auto index = parseInteger(w[1], 0, Controller::kFlagCount - 1);
    const auto value = parseInteger(w[2], 0, 1);
    if (!index || !value) {
        return false;
    }
    s.controller.setFlag(static_cast<int>(*index), *value == 1);
    return true;
}

bool setRegister(SimState& s, const Words& w) {
    const auto index = parseInteger(w[1], 0, Controller::kRegisterCount - 1);
    if (!index || !isNumberText(w[2])) {
        return false;
    }
    s.controller.setRegister(static_cast<int>(*index), std::string(w[2]));
    return true;
}

} // namespace

std::optional<long> parseInteger(std::string_view text, long min, long max) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < min ||
        value > max) {
        return std::nullopt;
    }
    return value;
}

const std::vector<Setting>& simSettings() {
    static const std::vector<Setting> kTable = {
        number("fil-count", "--fil-count", "N (0..9999)", 0, Controller::kMaxCount,
               [](SimState& s, long n) { s.controller.setFilamentCount(static_cast<int>(n)); }),
        {"counts", "--counts", "", 3, "F K M (0..9999, or - to follow)", setCounts},
        {"flags", "--flags", "", 1, "BITS (thirteen 0/1 digits)", setFlags},
        {"flag", "", "", 2, "I V (I 0..12, V 0 or 1)", setOneFlag},
        {"register", "", "", 2, "N V (N 0..13, V a number text)", setRegister},
        number("noise", "--noise", "N (0..100)", 0, kMaxNoise,
               [](SimState& s, long n) { s.controller.setNoise(static_cast<int>(n)); }),
        toggle("silent", "--silent", "on",
               [](SimState& s, bool on) {
                   if (on) {
                       s.faults.silent = true;
                   } else {
                       s.faults.endSilences();
                   }
               }),
        number("silent-after", "--silent-after", "N (0..1000000000)", 0, kMaxCommandCount,
               [](SimState& s, long n) { s.faults.answersLeft = n; }),
        number("silent-for", "--silent-for", "N (0..1000000000)", 0, kMaxCommandCount,
               [](SimState& s, long n) { s.faults.ignoreNext = n; }),
        action("silent-until-enable", [](SimState& s) { s.faults.silentUntilEnable = true; }),
        action("disable", [](SimState& s) { s.faults.disabled = true; }),
        action("enable",
               [](SimState& s) {
                   s.faults.disabled = false;
                   s.faults.silentUntilEnable = false;
               }),
        toggle("pacing", "--no-pacing", "off", [](SimState& s, bool on) { s.pacing = on; }),
        number("late", "--late", "MS (0..600000)", 0, kMaxLateMs,
               [](SimState& s, long ms) { s.faults.late = std::chrono::milliseconds(ms); }),
        number("split", "--split", "K (1..64)", 1, LineFaults::kMaxPieces,
               [](SimState& s, long k) { s.faults.pieces = static_cast<int>(k); }),
        toggle("stale-semicolon", "--stale-semicolon", "on",
               [](SimState& s, bool on) { s.faults.staleSemicolon = on; }),
        toggle("garbage", "--garbage", "on", [](SimState& s, bool on) { s.faults.garbage = on; }),
        toggle("out-of-range", "--out-of-range", "on",
               [](SimState& s, bool on) { s.controller.setOutOfRange(on); }),
        toggle("probe-only", "--probe-only", "on",
               [](SimState& s, bool on) { s.faults.probeOnly = on; }),
        action("quit", [](SimState& s) { s.quit = true; }),
    };
    return kTable;
}
