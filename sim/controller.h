#pragma once

#include <array>
#include <optional>
#include <random>
#include <string>
#include <string_view>

// The generator's controller board as seen from the serial line: stored registers, the kV and
// mA set-points, the three monitor counts and the thirteen status flags. One command line in,
// one reply out; a line that is no command gets the lone ";".
class Controller {
public:
    static constexpr int kRegisterCount = 14;
    static constexpr int kFlagCount = 13;
    static constexpr int kMaxCount = 9999;

    enum class Channel { Filament, Kv, Ma };

    explicit Controller(std::mt19937& random);

    std::string answer(std::string_view command);

    // The filament count when no count is fixed (noise is added to it).
    void setFilamentCount(int count);
    // A fixed count comes out exactly; nullopt lets the channel follow its source again.
    void fixCount(Channel channel, std::optional<int> count);
    // Noise amplitude in counts on the counts that are not fixed.
    void setNoise(int counts);
    void setFlag(int index, bool raised);
    // Stores value (a number text) in register index, as a write would.
    void setRegister(int index, std::string value);
    // Replies with counts, register values and flags far outside their ranges.
    void setOutOfRange(bool on);

private:
    std::string monitorReply();
    std::string flagsReply() const;
    std::string registerReply(int index) const;
    int count(Channel channel);

    std::mt19937& random_;
    std::array<std::string, kRegisterCount> registers_;
    double kvSetpoint_ = 0;
    double maSetpoint_ = 0;
    int filamentCount_ = 512;
    std::array<std::optional<int>, 3> fixed_;
    int noise_ = 1;
    std::array<bool, kFlagCount> flags_{};
    bool outOfRange_ = false;
};

// A number as the program writes one into a command line: sign, digits with at most one ".",
// optional exponent.
bool isNumberText(std::string_view text);
