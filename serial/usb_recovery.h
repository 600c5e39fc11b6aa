#pragma once

#include <string>

#include "serial/serial_context.h"

// Disables and re-enables the USB serial adapter behind sCom ("COM7"), waiting for each state
// to show. The device console tool does it; where the tool is missing or its listing names no
// adapter for the port, the system's device tree (when the context has one). Never reports a
// failure: any failure ends it silently. A reset refused for want of administrator rights
// queues one warning per run and port.
void UsbDeviceRecover(SerialContext& c, const std::string& sCom);

// True when text holds sCom as a whole port name: COM1 is not found in "COM12".
bool containsPortName(const std::string& text, const std::string& sCom);
