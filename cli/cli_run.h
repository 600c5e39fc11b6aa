#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/console_boxes.h"
#include "session/session.h"

// kelvara-cli's commands on the session every front end shares: what they print on out
// (results) and err (problems), and the exit status. The session's boxes are boxes.
struct CliIo {
    std::ostream& out;
    std::ostream& err;
    ConsoleBoxes& boxes;
    std::string version;
    std::function<bool()> interrupted; // Ctrl+C came
};

CliExit runCli(const CliOptions& options, Session& session, CliIo& io);
