#include "app/win32/windows_help.h"

const std::string_view kWindowsHelp = R"help(Usage: kelvara.exe [OPTION]...

Sets up, drives and watches an X-ray generator through its controller board on a serial line (115200,N,8,1). At start it tries COM1 to COM128 in turn and uses the first port whose controller answers the status command "E"; when none answers it shows "Device is not found." and ends.

The COM ports are those Windows gives: a USB serial adapter gets its COM number when it is first plugged in, and Device Manager lists it under "Ports (COM & LPT)".

A controller that falls silent is asked twice more, then its USB serial adapter is reset and the port reopened. The reset uses devcon.exe (from the Windows Driver Kit) when it stands beside kelvara.exe or on the search path and lists the adapter; otherwise Kelvara resets the adapter through Windows itself. Either way Windows allows it only to an administrator: without those rights Kelvara says so once, and unplugging and replugging the adapter does the same.

Options:
--trace FILE: append every transaction to FILE as it happens, one line each with the local time in ms: what was sent and came back, time-outs, resends, the adapter reset, reopening, each transaction's outcome, and every message box with its text.
--record FILE.csv: append one CSV row per monitoring tick: the time, the three monitor boxes and the thirteen flags as shown; a part not read has empty fields.
--port N: use COMN (1 to 128) without the scan; when it does not answer the probe "E", "Device is not found." is shown and the program ends.
-h, --help: this text.
-v, --version: the version.

Exit status: 0 done, 1 no controller answered, 2 bad options.
)help";
