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
// The device console's answer when it switched no device: not found, or not allowed.
constexpr int kNoDeviceSwitched = 2;

// The work folder's name is UTF-8 (a user name may hold Japanese characters); a narrow
// path would be taken in the system's ANSI code page on Windows.
std::filesystem::path utf8Path(const std::string& path) {
    return {std::u8string(path.begin(), path.end())};
}

// The listing in the work folder, joined with the system's own separator.
std::string listingPath(const std::string& folder) {
    const auto path = (utf8Path(folder) / kListingFile).u8string();
    return {path.begin(), path.end()};
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

std::string withoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

// The device argument "@<instance id>" from the find listing: the id stands before the ":"
// whose following text names the port, padded with blanks that are not part of it. The last
// matching piece wins. Empty when no piece names the port; nullopt when the listing does not
// have the expected shape.
std::optional<std::string> deviceArgument(SerialContext& c, const std::string& listing,
                                          const std::string& sCom) {
    const auto pieces = splitAt(listing, ':');
    std::string argument = {};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (containsPortName(pieces[i], sCom)) {
            if (i == 0) {
                return std::nullopt;
            }
            const auto id = pieces[i - 1].find("USB\\");
            if (id == std::string::npos) {
                return std::nullopt;
            }
            argument = "@" + withoutTrailingBlanks(pieces[i - 1].substr(id));
        }
        c.pump.processEvents(0);
    }
    return argument;
}

// The line after the first line naming the port; the last line when none names it; nullopt
// when the naming line is the last one or the file cannot be read. Without its CR.
std::optional<std::string> statusText(const std::string& path, const std::string& sCom) {
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::optional<std::string> last;
    for (std::string line; std::getline(in, line);) {
        if (containsPortName(line, sCom)) {
            if (!std::getline(in, line)) {
                return std::nullopt;
            }
            last = line;
            break;
        }
        last = line;
    }
    if (last && last->ends_with('\r')) {
        last->pop_back();
    }
    return last;
}

// A device node's state in the device console's words.
std::string stateWords(const DeviceTree::Status& status) {
    if (status.problem == DeviceTree::kProblemDisabled) {
        return "Device is disabled.";
    }
    if (status.problem) {
        return "The device has the following problem: " + std::to_string(*status.problem);
    }
    return status.started ? "Driver is running." : "Device is currently stopped.";
}

std::string answerText(uint32_t answer) {
    if (answer == DeviceTree::kSuccess) {
        return "done";
    }
    std::ostringstream text;
    text << "configuration manager error 0x" << std::hex << answer;
    return text.str();
}

bool isUsbDevice(const std::string& id) { return id.starts_with("USB\\"); }

struct Recovery {
    SerialContext& c;
    const std::string& sCom;
    std::string listing = listingPath(c.workFolder);
    // The device console's "@<instance id>"; empty on the built-in road.
    std::string argument = {};
    // The built-in road's USB device node.
    std::string node = {};

    enum class Switched { Done, Refused, Stop };

    std::optional<int> runTool(const std::vector<std::string>& args, bool toListing) {
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
        return status;
    }

    enum class Found { Adapter, None, Stop };

    // The adapter's device argument from the device console's find listing.
    Found findWithConsole() {
        if (c.workFolder.empty()) {
            traceEvent(c, "device console skipped: no work folder for the listing");
            return Found::None;
        }
        if (!runTool({"find", "USB*"}, true)) {
            return Found::None;
        }
        const auto found = readWholeFile(listing);
        if (!found) {
            return Found::Stop;
        }
        const auto device = deviceArgument(c, *found, sCom);
        if (!device) {
            traceEvent(c, "adapter reset ends: the listing does not have the expected shape");
            return Found::Stop;
        }
        if (device->empty()) {
            traceEvent(c, "device console: no adapter of ", sCom, " in the listing");
            return Found::None;
        }
        argument = *device;
        return Found::Adapter;
    }

    // The nearest USB device above the node that carries the port: on a composite adapter the
    // port's own interface, so that its other ports stay up.
    bool findInTree() {
        if (c.deviceTree == nullptr) {
            return false;
        }
        traceEvent(c, "built-in reset of ", sCom);
        std::optional<std::string> id;
        for (const auto& port : c.deviceTree->ports()) {
            if (port.portName == sCom) {
                id = port.id;
            }
        }
        while (id && !isUsbDevice(*id)) {
            id = c.deviceTree->parent(*id);
        }
        if (!id) {
            traceEvent(c, "adapter reset ends: no USB device carries ", sCom);
            return false;
        }
        node = *id;
        traceEvent(c, "adapter of ", sCom, ": ", node);
        return true;
    }

    Switched switchDevice(const char* verb) {
        const bool enable = std::string(verb) == "enable";
        if (!node.empty()) {
            const uint32_t answer =
                enable ? c.deviceTree->enable(node) : c.deviceTree->disable(node);
            traceEvent(c, "built-in reset: ", verb, " ", node, ": ", answerText(answer));
            return answer == DeviceTree::kSuccess        ? Switched::Done
                   : answer == DeviceTree::kAccessDenied ? Switched::Refused
                                                         : Switched::Stop;
        }
        const auto status = runTool({verb, argument}, false);
        return !status                        ? Switched::Stop
               : *status == kNoDeviceSwitched ? Switched::Refused
                                              : Switched::Done;
    }

    // The adapter's state line; nothing when it cannot be had.
    std::optional<std::string> state() {
        if (!node.empty()) {
            const auto status = c.deviceTree->status(node);
            if (!status) {
                traceEvent(c, "adapter status of ", sCom, ": device node unreadable");
                return std::nullopt;
            }
            return stateWords(*status);
        }
        if (!runTool({"status", "USB*"}, true)) {
            return std::nullopt;
        }
        auto status = statusText(listing, sCom);
        if (!status) {
            traceEvent(c, "adapter status of ", sCom, ": listing unreadable");
        }
        return status;
    }

    enum class Poll { Reached, NotReached, Stop };

    // Up to three status readings looking for word, with a pause after each miss.
    Poll pollFor(const std::string& word) {
        for (int16_t i = 0; i < kStatusPolls; ++i) {
            const auto status = state();
            if (!status) {
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

    // Once per run and port: a technician who cannot reset the adapter must replug it.
    void warnOfRights() {
        traceEvent(c, "adapter reset of ", sCom, " refused: it needs administrator rights");
        if (c.m.rightsWarnedPorts.insert(sCom).second) {
            c.m.pendingWarnings.push_back(
                "The USB adapter of " + sCom +
                " could not be reset: this needs administrator rights. Unplug and replug the "
                "adapter, or start Kelvara as administrator.");
        }
    }

    void run() {
        traceEvent(c, "adapter reset of ", sCom);
        const Found found = findWithConsole();
        if (found == Found::Stop || (found == Found::None && !findInTree())) {
            return;
        }
        if (c.m.bUnloading) {
            return;
        }
        switch (switchDevice("disable")) {
        case Switched::Refused:
            warnOfRights();
            return;
        case Switched::Stop:
            return;
        case Switched::Done:
            break;
        }
        // Once disabled, the adapter is enabled again on every way out, closing included:
        // otherwise the technician is left with a dead USB port until it is replugged.
        const bool settled = waitmSec(c, c.m.iUsbRecoveryTime) && pollFor("disabled") != Poll::Stop;
        if (switchDevice("enable") == Switched::Stop || !settled ||
            !waitmSec(c, c.m.iUsbRecoveryTime)) {
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
