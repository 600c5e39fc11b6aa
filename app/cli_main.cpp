#include <QCoreApplication>
#include <iostream>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "cli/console_boxes.h"
#include "cli/headless_window.h"
#include "cli/interruptible_pump.h"
#include "cli/silent_tones.h"
#include "platform/linux/com_name_table.h"
#include "platform/linux/port_link_folder.h"
#include "platform/linux/steady_counter.h"
#include "platform/linux/terminal.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_process_runner.h"
#include "platform/qt/qt_serial_control.h"

int main(int argc, char* argv[]) {
    const CliParse parse = parseCliOptions({argv + 1, argv + argc});
    if (const auto answered = answerCommandLine(parse, KELVARA_VERSION, std::cout, std::cerr)) {
        return *answered;
    }
    const CliOptions& options = *parse.options;
    QCoreApplication app(argc, argv);
    terminal::catchInterrupt();
    ConsoleBoxes boxes(std::cerr, terminal::askHidden);
    SilentTones tones;
    QtProcessRunner console;
    QtSerialControl port(ComNameTable(portlinks::portLinkFolder(), ComNameTable::Scope::Full));
    SteadyMillisecondCounter counter;
    QtEventPump qtPump;
    InterruptiblePump pump(qtPump, terminal::interrupted);
    const std::string work = portlinks::workFolder();
    HeadlessWindow window(std::cerr);
    Session session({boxes, tones, console, port, counter, pump, "kelvara-devcon",
                     portlinks::ensureTrustedFolder(work) ? work : std::string()},
                    window);
    pump.onInterrupt = [&] { session.Form_Unload(); };
    CliIo io{std::cout, std::cerr, boxes, KELVARA_VERSION, terminal::interrupted};
    return static_cast<int>(runCli(options, session, io));
}
