#include <windows.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "cli/console_boxes.h"
#include "cli/headless_window.h"
#include "cli/interruptible_pump.h"
#include "cli/silent_tones.h"
#include "platform/win32/console.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_counter.h"
#include "platform/win32/win32_device_tree.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/win32_serial_control.h"
#include "platform/win32/work_folder.h"

int wmain(int argc, wchar_t* argv[]) {
    // Names, paths and the Japanese captions pass through the console as UTF-8.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(win32::toUtf8(argv[i]));
    }
    const CliParse parse = parseCliOptions(arguments);
    if (const auto answered = answerCommandLine(parse, KELVARA_VERSION, std::cout, std::cerr)) {
        return *answered;
    }
    const CliOptions& options = *parse.options;
    try {
        console::catchInterrupt();
        ConsoleBoxes boxes(std::cerr, console::askHidden);
        SilentTones tones;
        const std::string work = win32::workFolder();
        Win32ProcessRunner runner(work);
        Win32SerialControl port;
        Win32MillisecondCounter counter;
        Win32EventPump win32Pump;
        win32Pump.watch(port.receiveEvent());
        InterruptiblePump pump(win32Pump, console::interrupted);
        Win32DeviceTree deviceTree;
        HeadlessWindow window(std::cerr);
        Session session(
            {boxes, tones, runner, port, counter, pump, "devcon.exe", work, &deviceTree}, window);
        pump.onInterrupt = [&] { session.Form_Unload(); };
        CliIo io{std::cout, std::cerr, boxes, KELVARA_VERSION, console::interrupted};
        return static_cast<int>(runCli(options, session, io));
    } catch (const std::exception& e) {
        std::cerr << "kelvara-cli: " << e.what() << "\n";
        return static_cast<int>(CliExit::NoController);
    }
}
