#include <QApplication>
#include <cstdio>

#include "app/Form1.h"
#include "app/command_line.h"
#include "app/linux_help.h"
#include "platform/linux/alsa_tone.h"
#include "platform/linux/port_link_folder.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_process_runner.h"
#include "session/session.h"

int main(int argc, char* argv[]) {
    // Before the application object, which needs a display.
    const CommandLine options = parseCommandLine({argv + 1, argv + argc}, kLinuxHelp);
    if (options.exitStatus) {
        std::fputs(options.answer.c_str(), *options.exitStatus == 0 ? stdout : stderr);
        return *options.exitStatus;
    }
    QApplication app(argc, argv);
    QtMessageBoxes boxes;
    AlsaTonePlayer tones;
    QtProcessRunner console;
    // The device console's listing goes to the work folder; without a trusted one the adapter
    // reset is skipped.
    const std::string work = portlinks::workFolder();
    Form1 form({boxes, tones, console, "kelvara-devcon", portlinks::portLinkFolder(),
                portlinks::ensureTrustedFolder(work) ? work : std::string()});
    Session& session = form.session();
    applyCommandLine(options, session);
    if (!session.Form_Load()) {
        return session.exitStatus();
    }
    boxes.setParent(&form);
    form.show();
    return app.exec();
}
