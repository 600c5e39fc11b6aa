#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The system's tree of device nodes, as the built-in adapter reset needs it: which node carries
// a COM port, each node's parent, switching a node off and on, and its state. Nodes are named
// by their device instance ids ("USB\VID_0403&PID_6001\A10K1"). Answers of disable and enable
// are the Configuration Manager's return codes.
class DeviceTree {
public:
    static constexpr uint32_t kSuccess = 0x00;       // CR_SUCCESS
    static constexpr uint32_t kAccessDenied = 0x33;  // CR_ACCESS_DENIED
    static constexpr uint32_t kProblemDisabled = 22; // CM_PROB_DISABLED

    struct Port {
        std::string id;
        std::string portName; // "COM3"
    };
    struct Status {
        bool started = false;            // DN_STARTED: the driver runs
        std::optional<uint32_t> problem; // DN_HAS_PROBLEM with its CM_PROB_ number
    };

    virtual ~DeviceTree() = default;
    // Every present device node that has a port name.
    virtual std::vector<Port> ports() = 0;
    // The id of the node's parent; nothing at the root or for a node that is not there.
    virtual std::optional<std::string> parent(const std::string& id) = 0;
    virtual uint32_t disable(const std::string& id) = 0;
    virtual uint32_t enable(const std::string& id) = 0;
    // Nothing when the node is not there or its state cannot be read.
    virtual std::optional<Status> status(const std::string& id) = 0;
};
