#include "sim/controller.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::array<const char*, Controller::kRegisterCount> kStartValues = {
    "20", "38", "500", "300", "100", "20", "100", "20", "1640", "1", "1210", "0", "861", "501"};

struct WriteCommand {
    std::string_view prefix;
    int reg;
};

constexpr std::array<WriteCommand, Controller::kRegisterCount> kWriteCommands = {{
    {"W00,", 0},
    {"W01,", 1},
    {"W02,", 2},
    {"W03,", 3},
    {"W04,", 4},
    {"W05,", 5},
    {"W06,", 6},
    {"W07,", 7},
    {"c", 8},
    {"d", 9},
    {"k", 10},
    {"j", 11},
    {"W12,", 12},
    {"W13,", 13},
}};

// Full scale of the monitor: 1024 counts at 60 kV and at 80 mA.
constexpr double kCountsPerKv = 1024.0 / 60.0;
constexpr double kCountsPerMa = 1024.0 / 80.0;

constexpr const char* kOutOfRangeMonitor = "S9E99,9E99,9E99;";
constexpr const char* kOutOfRangeRegister = "R99999999999999999999;";
constexpr char kOutOfRangeFlag = '7';

std::size_t digitsAt(std::string_view text, std::size_t i) {
    std::size_t n = 0;
    while (i + n < text.size() && text[i + n] >= '0' && text[i + n] <= '9') {
        ++n;
    }
    return n;
}

std::optional<double> numberOf(std::string_view text) {
    if (!isNumberText(text)) {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "0" to "13", no leading zeros.
std::optional<int> registerIndex(std::string_view text) {
    int index = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (ec != std::errc() || end != text.data() + text.size() || index < 0 ||
        index >= Controller::kRegisterCount || (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    return index;
}

int clampCount(double value) {
    if (!(value > 0)) {
        return 0;
    }
    if (value >= Controller::kMaxCount) {
        return Controller::kMaxCount;
    }
    return static_cast<int>(std::lround(value));
}

} // namespace

bool isNumberText(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t mantissa = digitsAt(text, i);
    i += mantissa;
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fraction = digitsAt(text, i);
        mantissa += fraction;
        i += fraction;
    }
    if (mantissa == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponent = digitsAt(text, i);
        if (exponent == 0) {
            return false;
        }
        i += exponent;
    }
    return i == text.size();
}

Controller::Controller(std::mt19937& random) : random_(random) {
    std::copy(kStartValues.begin(), kStartValues.end(), registers_.begin());
}

std::string Controller::answer(std::string_view command) {
    if (command == "E") {
        return flagsReply();
    }
    if (command == "S1") {
        return monitorReply();
    }
    if (command == "A1" || command == "F3.8") {
        return std::string(command) + ";";
    }
    if (command.size() > 1 && command.front() == 'R') {
        if (const auto index = registerIndex(command.substr(1))) {
            return registerReply(*index);
        }
        return ";";
    }
    if (command.size() > 1 && (command.front() == 'V' || command.front() == 'I')) {
        const auto value = numberOf(command.substr(1));
        if (!value) {
            return ";";
        }
        (command.front() == 'V' ? kvSetpoint_ : maSetpoint_) = *value;
        return std::string(command) + ";";
    }
    for (const auto& write : kWriteCommands) {
        if (command.size() > write.prefix.size() && command.starts_with(write.prefix)) {
            const std::string_view value = command.substr(write.prefix.size());
            if (!isNumberText(value)) {
                return ";";
            }
            registers_[static_cast<std::size_t>(write.reg)] = std::string(value);
            return std::string(command) + ";";
        }
    }
    return ";";
}

void Controller::setFilamentCount(int count) { filamentCount_ = count; }

void Controller::fixCount(Channel channel, std::optional<int> count) {
    fixed_[static_cast<std::size_t>(channel)] = count;
}

void Controller::setNoise(int counts) { noise_ = counts; }

void Controller::setFlag(int index, bool raised) {
    flags_.at(static_cast<std::size_t>(index)) = raised;
}

void Controller::setOutOfRange(bool on) { outOfRange_ = on; }

int Controller::count(Channel channel) {
    if (const auto fixed = fixed_[static_cast<std::size_t>(channel)]) {
        return *fixed;
    }
    double value = filamentCount_;
    if (channel == Channel::Kv) {
        value = kvSetpoint_ * kCountsPerKv;
    } else if (channel == Channel::Ma) {
        value = maSetpoint_ * kCountsPerMa;
    }
    const int base = clampCount(value);
    if (noise_ == 0) {
        return base;
    }
    std::uniform_int_distribution<int> jitter(-noise_, noise_);
    return std::clamp(base + jitter(random_), 0, kMaxCount);
}

std::string Controller::monitorReply() {
    if (outOfRange_) {
        return kOutOfRangeMonitor;
    }
    char text[32];
    std::snprintf(text, sizeof text, "S%04d,%04d,%04d;", count(Channel::Filament),
                  count(Channel::Kv), count(Channel::Ma));
    return text;
}

void Controller::setRegister(int index, std::string value) {
    registers_.at(static_cast<std::size_t>(index)) = std::move(value);
}

std::string Controller::flagsReply() const {
    std::string reply = "E";
    for (int i = 0; i < kFlagCount; ++i) {
        if (i > 0) {
            reply += ',';
        }
        reply += outOfRange_ ? kOutOfRangeFlag : (flags_[static_cast<std::size_t>(i)] ? '1' : '0');
    }
    return reply + ";";
}

std::string Controller::registerReply(int index) const {
    if (outOfRange_) {
        return kOutOfRangeRegister;
    }
    return "R" + registers_[static_cast<std::size_t>(index)] + ";";
}
