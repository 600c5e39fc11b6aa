#include "sim/sim_control.h"
#include "sim/sim_options.h"
#include "sim/simulator.h"

#include <cstdio>

int main(int argc, char** argv) {
    const auto parsed = parseSimOptions({argv + 1, argv + argc});
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "kelvara-sim: %s (see kelvara-sim --help)\n", error->c_str());
        return 2;
    }
    const auto& options = std::get<SimOptions>(parsed);
    if (options.help) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    if (options.controlLine) {
        std::string answer;
        const bool ok = simControl(options.port, *options.controlLine, answer);
        std::fprintf(ok ? stdout : stderr, "%s\n", answer.c_str());
        return ok ? 0 : 1;
    }
    return runSimulator(options);
}
