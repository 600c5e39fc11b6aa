#pragma once

#include "serial/device_tree.h"

// The device tree through the Configuration Manager (cfgmgr32). Ports are the present device
// nodes whose hardware key ("Device Parameters") holds a PortName. Disabling lasts until the
// next start of Windows, and it needs administrator rights (CR_ACCESS_DENIED otherwise).
class Win32DeviceTree : public DeviceTree {
public:
    std::vector<Port> ports() override;
    std::optional<std::string> parent(const std::string& id) override;
    uint32_t disable(const std::string& id) override;
    uint32_t enable(const std::string& id) override;
    std::optional<Status> status(const std::string& id) override;
};
