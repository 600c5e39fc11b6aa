#pragma once

#include <string>
#include <vector>

#include "platform/linux/com_name_table.h"
#include "tools/devcon/remembered_names.h"

// A USB device that carries serial ports (the device, not its interfaces), as listed.
struct UsbSerialDevice {
    std::string id;      // USB\VID_0403&PID_6001\A1B2, or the bus path 1-1.2 without a serial
    std::string name;    // FT232R USB UART (COM3)
    std::string syspath; // of the usb_device
    bool disabled = false;
};

// Every USB device with a tty below it, and every deauthorised USB device (which has no
// interfaces left to tell what it is), ordered by sysfs path. A disabled device is named as
// remembered when it was remembered.
std::vector<UsbSerialDevice> listUsbSerialDevices(const ComNameTable& comNames,
                                                  const RememberedNames& remembered);

// Writes the usb_device's authorized attribute: 0 on success, else a negative errno.
int setAuthorized(const std::string& syspath, bool authorized);
