#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <cstdio>

namespace {

constexpr int kBadOptions = 2;
constexpr int kFirstPort = 1;
constexpr int kLastPort = 128;

// Worded like kelvara-sim --help; the parser only recognises the options.
constexpr const char* kHelp = R"(Usage: kelvara [OPTION]...
Sets up, drives and watches an X-ray generator through its controller board on a serial line
(115200,N,8,1). At start it tries COM1..COM128 in turn and uses the first port whose controller
answers the status command "E"; when none answers it shows "Device is not found." and ends.

COM names: COMn is the link COMn in the port-link folder ($XDG_RUNTIME_DIR/kelvara/ports, else
/tmp/kelvara-<uid>/ports), else COM1..32 = /dev/ttyS0..31, COM33..64 = /dev/ttyUSB0..31,
COM65..96 = /dev/ttyACM0..31; COM97..128 only through a link.
A controller that falls silent is asked twice more, then its USB serial adapter is reset with
kelvara-devcon (beside kelvara, then on PATH) and the port reopened.

Options:
  --trace FILE         append every transaction to FILE as it happens, one line each with the
                       local time in ms: what was sent and came back (control characters and
                       bytes outside ASCII escaped), time-outs, resends, the adapter reset with
                       the device console's command lines and exit status, reopening, each
                       transaction's outcome, and every message box with its text
  --record FILE.csv    append one CSV row per monitoring tick: the time, the three monitor
                       boxes and the thirteen flags as shown; a part not read has empty fields
  --port N             use COMN (1..128) without the scan; when it does not answer the probe
                       "E", "Device is not found." is shown and the program ends
  -h, --help           this text
  -v, --version        print the version
Exit status: 0 done, 1 no controller answered, 2 bad options.
)";

CommandLine answered(int status) {
    CommandLine line;
    line.exitStatus = status;
    return line;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

CommandLine parseCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    // "-platform" is one unknown option, not eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption trace("trace", "", "FILE");
    const QCommandLineOption record("record", "", "FILE.csv");
    const QCommandLineOption port("port", "", "N");
    parser.addOptions({help, version, trace, record, port});
    if (!parser.parse(arguments)) {
        print(stderr, "kelvara: " + parser.errorText() + " (see kelvara --help)\n");
        return answered(kBadOptions);
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, "kelvara: unexpected argument '" + parser.positionalArguments().first() +
                          "' (see kelvara --help)\n");
        return answered(kBadOptions);
    }
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return answered(0);
    }
    if (parser.isSet(version)) {
        std::puts("kelvara " KELVARA_VERSION);
        return answered(0);
    }
    CommandLine line;
    if (parser.isSet(port)) {
        bool number = false;
        const int n = parser.value(port).toInt(&number);
        if (!number || n < kFirstPort || n > kLastPort) {
            print(stderr, "kelvara: --port takes a COM number from 1 to 128, not '" +
                              parser.value(port) + "' (see kelvara --help)\n");
            return answered(kBadOptions);
        }
        line.port = static_cast<int16_t>(n);
    }
    line.tracePath = parser.value(trace).toStdString();
    line.recordPath = parser.value(record).toStdString();
    return line;
}
