#include "sim/control_commands.h"

#include "sim/sim_values.h"

#include <functional>
#include <vector>

namespace {

using Words = std::vector<std::string_view>;

Words splitWords(std::string_view line) {
    Words words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::optional<bool> onOff(std::string_view word) {
    if (word == "on")
        return true;
    if (word == "off")
        return false;
    return std::nullopt;
}

struct Command {
    std::string_view name;
    std::size_t arguments;
    std::string_view usage;
    // False when an argument is not valid.
    std::function<bool(SimState&, const Words&)> apply;
};

// A command without arguments.
Command action(std::string_view name, std::function<void(SimState&)> run) {
    return {name, 0, "", [run](SimState& s, const Words&) {
                run(s);
                return true;
            }};
}

// An on/off switch of the state.
Command toggle(std::string_view name, std::function<void(SimState&, bool)> set) {
    return {name, 1, "on|off", [set](SimState& s, const Words& w) {
                const auto on = onOff(w[1]);
                if (on)
                    set(s, *on);
                return on.has_value();
            }};
}

// A command with one integer argument.
Command number(std::string_view name, std::string_view usage, long min, long max,
               std::function<void(SimState&, long)> set) {
    return {name, 1, usage, [=](SimState& s, const Words& w) {
                const auto value = simvalues::parseInteger(w[1], min, max);
                if (value)
                    set(s, *value);
                return value.has_value();
            }};
}

bool setCounts(SimState& s, const Words& w) {
    const auto filament = simvalues::parseCount(w[1]);
    const auto kv = simvalues::parseCount(w[2]);
    const auto ma = simvalues::parseCount(w[3]);
    if (!filament || !kv || !ma)
        return false;
    s.controller.fixCount(Controller::Channel::Filament, *filament);
    s.controller.fixCount(Controller::Channel::Kv, *kv);
    s.controller.fixCount(Controller::Channel::Ma, *ma);
    return true;
}

bool setFlags(SimState& s, const Words& w) {
    const auto flags = simvalues::parseFlags(w[1]);
    if (!flags)
        return false;
    for (int i = 0; i < Controller::flagCount; ++i)
        s.controller.setFlag(i, (*flags)[static_cast<std::size_t>(i)]);
    return true;
}

bool setOneFlag(SimState& s, const Words& w) {
    const auto index = simvalues::parseInteger(w[1], 0, Controller::flagCount - 1);
    const auto value = simvalues::parseInteger(w[2], 0, 1);
    if (!index || !value)
        return false;
    s.controller.setFlag(static_cast<int>(*index), *value == 1);
    return true;
}

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"counts", 3, "F K M (0..9999, or - to follow)", setCounts},
        {"flags", 1, "thirteen 0/1 digits", setFlags},
        {"flag", 2, "I V (I 0..12, V 0 or 1)", setOneFlag},
        number("noise", "N (0..100)", 0, simvalues::maxNoise,
               [](SimState& s, long n) { s.controller.setNoise(static_cast<int>(n)); }),
        {"silent", 1, "on|off",
         [](SimState& s, const Words& w) {
             const auto on = onOff(w[1]);
             if (on && *on)
                 s.faults.silent = true;
             else if (on)
                 s.faults.endSilences();
             return on.has_value();
         }},
        number("silent-after", "N", 0, simvalues::maxCommandCount,
               [](SimState& s, long n) { s.faults.answersLeft = n; }),
        number("silent-for", "N", 0, simvalues::maxCommandCount,
               [](SimState& s, long n) { s.faults.ignoreNext = n; }),
        action("silent-until-enable", [](SimState& s) { s.faults.silentUntilEnable = true; }),
        action("disable", [](SimState& s) { s.faults.disabled = true; }),
        action("enable",
               [](SimState& s) {
                   s.faults.disabled = false;
                   s.faults.silentUntilEnable = false;
               }),
        toggle("pacing", [](SimState& s, bool on) { s.pacing = on; }),
        number("late", "MS (0..600000)", 0, simvalues::maxLateMs,
               [](SimState& s, long ms) { s.faults.late = std::chrono::milliseconds(ms); }),
        number("split", "K (1..64)", 1, LineFaults::maxPieces,
               [](SimState& s, long k) { s.faults.pieces = static_cast<int>(k); }),
        toggle("stale-semicolon", [](SimState& s, bool on) { s.faults.staleSemicolon = on; }),
        toggle("garbage", [](SimState& s, bool on) { s.faults.garbage = on; }),
        toggle("out-of-range", [](SimState& s, bool on) { s.controller.setOutOfRange(on); }),
        toggle("probe-only", [](SimState& s, bool on) { s.faults.probeOnly = on; }),
        action("quit", [](SimState& s) { s.quit = true; }),
    };
    return table;
}

} // namespace

std::string applyControl(SimState& state, std::string_view line) {
    const Words words = splitWords(line);
    if (words.empty())
        return "error: empty control line";
    for (const auto& command : commands()) {
        if (words[0] != command.name)
            continue;
        if (words.size() != command.arguments + 1 || !command.apply(state, words))
            return "error: usage: " + std::string(command.name) +
                   (command.usage.empty() ? "" : " ") + std::string(command.usage);
        return "ok";
    }
    return "error: unknown control command '" + std::string(words[0]) + "'";
}
