#include "sim/control_commands.h"

#include "sim/sim_settings.h"

namespace {

Setting::Words splitWords(std::string_view line) {
    Setting::Words words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

} // namespace

std::string applyControl(SimState& state, std::string_view line) {
    const Setting::Words words = splitWords(line);
    if (words.empty()) {
        return "error: empty control line";
    }
    for (const auto& setting : simSettings()) {
        if (words[0] != setting.name) {
            continue;
        }
        if (words.size() != setting.arguments + 1 || !setting.apply(state, words)) {
            return "error: usage: " + std::string(setting.name) +
                   (setting.usage.empty() ? "" : " ") + std::string(setting.usage);
        }
        return "ok";
    }
    return "error: unknown control command '" + std::string(words[0]) + "'";
}
