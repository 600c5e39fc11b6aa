#include "operations/parameter_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/number_text.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The value text of reg: a whole number in its range, or what is wrong with it.
std::optional<int32_t> wholeNumber(const ParameterRegister& reg, std::string_view text,
                                   std::string& problem) {
    const std::string name(reg.name);
    if (text.empty()) {
        problem = name + " has no value";
        return std::nullopt;
    }
    int64_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop == text.data()) {
        problem = name + ": " + quoted(text) + " is not a whole number";
        return std::nullopt;
    }
    if (stop != end) {
        const std::string_view rest(stop, static_cast<std::size_t>(end - stop));
        problem = rest.find_first_of(".eE") == 0
                      ? name + ": " + quoted(text) + " is not a whole number"
                      : name + ": text after the value: " + quoted(rest);
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range || value < reg.range.lowest ||
        value > reg.range.highest) {
        problem = name + ": " + std::string(text) + " is out of its range " +
                  std::to_string(reg.range.lowest) + " to " + std::to_string(reg.range.highest);
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

} // namespace

ParameterFileRead readParameterFile(std::string_view text,
                                    std::span<const ParameterRegister> registers) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    ParameterFileRead file;
    std::vector<std::optional<int32_t>> values(registers.size());
    std::vector<int> lineOf(registers.size(), 0);
    int number = 0;
    for (std::size_t begin = 0; begin < text.size() || number == 0;) {
        const auto end = std::min(text.find('\n', begin), text.size());
        std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (number == 1) {
            if (line != kParameterFileFormat) {
                file.problems.push_back(
                    {1, "not a parameter file of this format: the first line is not " +
                            quoted(kParameterFileFormat)});
                return file;
            }
            continue;
        }
        line = trimmed(line);
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            file.problems.push_back({number, "not a \"NAME = VALUE\" line"});
            continue;
        }
        const std::string_view name = trimmed(line.substr(0, equals));
        const auto reg = std::ranges::find_if(
            registers, [&](const ParameterRegister& r) { return name == r.name; });
        if (reg == registers.end()) {
            file.problems.push_back({number, "no register of this file is named " + quoted(name)});
            continue;
        }
        const auto i = static_cast<std::size_t>(reg - registers.begin());
        if (lineOf[i] != 0) {
            file.problems.push_back({number, std::string(reg->name) + " again (first on line " +
                                                 std::to_string(lineOf[i]) + ")"});
            continue;
        }
        lineOf[i] = number;
        std::string problem;
        values[i] = wholeNumber(*reg, trimmed(line.substr(equals + 1)), problem);
        if (!values[i]) {
            file.problems.push_back({number, problem});
        }
    }
    for (std::size_t i = 0; i < registers.size(); ++i) {
        if (lineOf[i] == 0) {
            file.problems.push_back({number + 1, std::string(registers[i].name) + " is missing"});
        }
    }
    if (file.problems.empty()) {
        for (const auto& value : values) {
            file.stored.push_back(*value);
        }
    }
    return file;
}

std::string writeParameterFile(std::span<const ParameterRegister> registers,
                               std::span<const int32_t> stored,
                               const std::vector<std::string>& comments) {
    std::string text(kParameterFileFormat);
    text += '\n';
    for (const std::string& comment : comments) {
        text += "# " + comment + '\n';
    }
    for (std::size_t i = 0; i < registers.size() && i < stored.size(); ++i) {
        const ParameterRegister& reg = registers[i];
        text += "\n# " + std::string(reg.name) + " " + boxNumberText(stored[i] / reg.scale) + " (" +
                std::string(reg.box) + ")\n";
        text += std::string(reg.name) + " = " + std::to_string(stored[i]) + '\n';
    }
    return text;
}

std::optional<int32_t> fileValue(const ParameterRegister& reg, double stored) {
    if (!(stored >= reg.range.lowest && stored <= reg.range.highest) ||
        std::trunc(stored) != stored) {
        return std::nullopt;
    }
    return static_cast<int32_t>(stored);
}
