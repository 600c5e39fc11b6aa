#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The exit statuses of kelvara-cli, which scripts on a bench test.
enum class CliExit {
    Done = 0,         // done; for "params diff", the board equals the file
    Differs = 1,      // "params diff" found differences
    BadUsage = 2,     // a bad command line, no terminal for the password, a wrong password
    FileRefused = 3,  // a file unreadable, malformed, of another format, or not writable
    NoController = 4, // "Device is not found.", or the link was lost
    Partial = 5,      // a restore that wrote only part, or whose read-back differs
};

enum class CliCommand { Help, Version, Scan, Status, Monitor, Save, Diff, Restore };

// What the command line asks for.
struct CliOptions {
    CliCommand command = CliCommand::Help;
    std::string file;    // of "params save|diff|restore"
    bool dryRun = false; // "params restore --dry-run"
    bool calibration = false;
    int count = 0;         // "monitor --count K"; 0: until interrupted
    int16_t port = 0;      // --port N; 0: the scan
    std::string tracePath; // --trace FILE
};

// The command line read, or why it cannot be (one line for stderr).
struct CliParse {
    std::optional<CliOptions> options;
    std::string error;
};

// Reads the arguments, the program name not among them.
CliParse parseCliOptions(const std::vector<std::string>& arguments);

// The text of --help.
const char* cliHelp();

// The exit status when the command line is answered without a controller: the help or the
// version on out, or why it is refused on err. Nothing when a command is to run.
std::optional<int> answerCommandLine(const CliParse& parse, const std::string& version,
                                     std::ostream& out, std::ostream& err);
