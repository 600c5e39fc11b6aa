#include "serial/usb_recovery.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "common/split_text.h"
#include "serial/trace_event.h"
#include "serial/wait.h"

namespace {

constexpr int16_t kStatusPolls = 3;
constexpr int32_t kPollPauseMs = 1000;
constexpr const char* kListingFile = "dev.ref";

// The work folder's name is UTF-8 (a user name may hold Japanese characters); a narrow
// path would be taken in the system's ANSI code page on Windows.
std::filesystem::path utf8Path(const std::string& path) {
    return {std::u8string(path.begin(), path.end())};
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The device argument "@<instance id>" from the find listing: the id stands before the ":"
// whose following text names the port. The last matching piece wins. Empty when no piece
// names the port; nullopt when the listing does not have the expected shape.
std::optional<std::string> deviceArgument(SerialContext& c, const std::string& listing,
                                          const std::string& sCom) {
    const auto pieces = splitAt(listing, ':');
    std::string argument;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (containsPortName(pieces[i], sCom)) {
            if (i == 0) {
                return std::nullopt;
            }
            const auto id = pieces[i - 1].find("USB\\");
            if (id == std::string::npos) {
                return std::nullopt;
            }
            argument = "@" + pieces[i - 1].substr(id);
        }
        c.pump.processEvents(0);
    }
    return argument;
}

// The line after the first line naming the port; the last line when none names it; nullopt
// when the naming line is the last one or the file cannot be read.
std::optional<std::string> statusText(const std::string& path, const std::string& sCom) {
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::optional<std::string> last;
    for (std::string line; std::getline(in, line);) {
        if (containsPortName(line, sCom)) {
            return std::getline(in, line) ? std::optional(line) : std::nullopt;
        }
        last = line;
    }
    return last;
}

struct Recovery {
    SerialContext& c;
    const std::string& sCom;
    std::string listing = c.workFolder + "/" + kListingFile;

    bool runTool(const std::vector<std::string>& args, bool toListing) {
        const std::string output = toListing ? listing : std::string();
        const auto status = c.console.run(c.consoleProgram, args, output);
        if (c.trace != nullptr) {
            std::string command = c.consoleProgram;
            for (const auto& a : args) {
                command += " " + a;
            }
            if (!output.empty()) {
                command += " > " + output;
            }
            traceEvent(c, "device console: ", command, ": ",
                       status ? "exit " + std::to_string(*status) : "could not be started");
        }
        return status.has_value();
    }

    bool switchDevice(const char* verb, const std::string& argument) {
        std::vector<std::string> args{verb};
        if (!argument.empty()) {
            args.push_back(argument);
        }
        return runTool(args, false);
    }

    enum class Poll { Reached, NotReached, Stop };

    // Up to three status listings looking for word, with a pause after each miss.
    Poll pollFor(const std::string& word) {
        for (int16_t i = 0; i < kStatusPolls; ++i) {
            if (!runTool({"status", "USB*"}, true)) {
                return Poll::Stop;
            }
            const auto status = statusText(listing, sCom);
            if (!status) {
                traceEvent(c, "adapter status of ", sCom, ": listing unreadable");
                return Poll::Stop;
            }
            traceEvent(c, "adapter status of ", sCom, ": \"", *status, "\"");
            if (status->find(word) != std::string::npos) {
                return Poll::Reached;
            }
            if (!waitmSec(c, kPollPauseMs)) {
                return Poll::Stop;
            }
        }
        return Poll::NotReached;
    }

    void run() {
        traceEvent(c, "adapter reset of ", sCom);
        if (c.workFolder.empty()) {
            traceEvent(c, "adapter reset skipped: no work folder for the listing");
            return;
        }
        if (!runTool({"find", "USB*"}, true)) {
            return;
        }
        const auto found = readWholeFile(listing);
        if (!found) {
            return;
        }
        const auto argument = deviceArgument(c, *found, sCom);
        if (!argument) {
            traceEvent(c, "adapter reset ends: the listing does not have the expected shape");
            return;
        }
        if (c.m.bUnloading) {
            return;
        }
        if (!switchDevice("disable", *argument)) {
            return;
        }
        // Once disabled, the adapter is enabled again on every way out, closing included:
        // otherwise the technician is left with a dead USB port until it is replugged.
        const bool settled = waitmSec(c, c.m.iUsbRecoveryTime) && pollFor("disabled") != Poll::Stop;
        if (!switchDevice("enable", *argument) || !settled || !waitmSec(c, c.m.iUsbRecoveryTime)) {
            return;
        }
        pollFor("running");
    }
};

bool isPortNameChar(char ch) { return std::isalnum(static_cast<unsigned char>(ch)) != 0; }

} // namespace

bool containsPortName(const std::string& text, const std::string& sCom) {
    if (sCom.empty()) {
        return false;
    }
    for (auto at = text.find(sCom); at != std::string::npos; at = text.find(sCom, at + 1)) {
        const auto end = at + sCom.size();
        const bool startsName = at == 0 || !isPortNameChar(text[at - 1]);
        const bool endsName = end == text.size() || !isPortNameChar(text[end]);
        if (startsName && endsName) {
            return true;
        }
    }
    return false;
}

void UsbDeviceRecover(SerialContext& c, const std::string& sCom) {
    if (c.m.bUnloading) {
        return;
    }
    Recovery{c, sCom}.run();
}
