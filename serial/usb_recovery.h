#pragma once

#include <string>

#include "serial/serial_context.h"

// Disables and re-enables the USB serial adapter behind sCom ("COM7") with the device
// console tool, waiting for each state to show in its status listing. Never reports a
// failure: any failure ends it silently.
void UsbDeviceRecover(SerialContext& c, const std::string& sCom);

// True when text holds sCom as a whole port name: COM1 is not found in "COM12".
bool containsPortName(const std::string& text, const std::string& sCom);
