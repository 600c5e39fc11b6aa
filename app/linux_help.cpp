#include "app/linux_help.h"

const std::string_view kLinuxHelp = R"(Usage: kelvara [OPTION]...
Sets up, drives and watches an X-ray generator through its controller board on a serial line
(115200,N,8,1). At start it tries COM1..COM128 in turn and uses the first port whose controller
answers the status command "E"; when none answers it shows "Device is not found." and ends.

COM names (Linux): COMn is the link COMn in the port-link folder ($XDG_RUNTIME_DIR/kelvara/ports,
else /tmp/kelvara-<uid>/ports), else COM1..32 = /dev/ttyS0..31, COM33..64 = /dev/ttyUSB0..31,
COM65..96 = /dev/ttyACM0..31; COM97..128 only through a link.
A controller that falls silent is asked twice more, then its USB serial adapter is reset with
the device console (kelvara-devcon on Linux, devcon.exe on Windows) and the port reopened.

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
