#pragma once

#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

// A fake USB serial adapter: the usb_device, one interface per port, a tty below each.
struct FakeAdapter {
    std::string busPath; // "1-3", the usb_device's sysfs name
    std::string vendorId;
    std::string productId;
    std::string serial; // empty: the device has none
    std::string product;
    std::vector<std::string> ttys; // "ttyUSB0"
};

// A umockdev device tree. The process must run under umockdev-wrapper; the programs it starts
// inherit the tree.
class UsbTestbed {
public:
    UsbTestbed();
    ~UsbTestbed();
    UsbTestbed(const UsbTestbed&) = delete;
    UsbTestbed& operator=(const UsbTestbed&) = delete;

    void plugIn(const FakeAdapter& adapter);
    // A device that someone disabled before: authorized 0 and no interfaces.
    void plugInDeauthorised(const FakeAdapter& adapter);

    // What the kernel does when the device is deauthorised, and authorised again.
    void dropPorts(const FakeAdapter& adapter);
    void addPorts(const FakeAdapter& adapter);
    // Someone else disables the device.
    void deauthorise(const FakeAdapter& adapter);

    std::string authorized(const FakeAdapter& adapter) const;
    // The file on disk behind the adapter's authorized attribute.
    std::string authorizedFile(const FakeAdapter& adapter) const;
    // The file on disk behind /dev/<name>.
    std::string devFile(const std::string& name) const;

private:
    void add(const std::string& description);

    UMockdevTestbed* bed_;
    std::string root_;
};
