#pragma once

// The device tree as the Configuration Manager shows it: nodes with their parents, the port
// nodes' PortName, CR_ codes for disable and enable, and a disabled node's CM_PROB_DISABLED.
// Each switch and status reading is logged as "tree disable <id>".

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "serial/device_tree.h"

class FakeDeviceTree : public DeviceTree {
public:
    explicit FakeDeviceTree(std::vector<std::string>& log) : log_(log) {}

    std::vector<Port> ports() override { return portNodes; }
    std::optional<std::string> parent(const std::string& id) override {
        const auto p = parents.find(id);
        return p == parents.end() ? std::nullopt : std::optional(p->second);
    }
    uint32_t disable(const std::string& id) override {
        log_.push_back("tree disable " + id);
        if (answer == kSuccess) {
            disabled.insert(id);
        }
        return answer;
    }
    uint32_t enable(const std::string& id) override {
        log_.push_back("tree enable " + id);
        if (answer == kSuccess) {
            disabled.erase(id);
        }
        return answer;
    }
    std::optional<Status> status(const std::string& id) override {
        log_.push_back("tree status " + id);
        onStatus();
        if (!readable) {
            return std::nullopt;
        }
        if (disabled.count(id) != 0) {
            return Status{false, kProblemDisabled};
        }
        return Status{true, std::nullopt};
    }

    std::vector<Port> portNodes;
    std::map<std::string, std::string> parents;
    std::set<std::string> disabled;
    uint32_t answer = kSuccess;
    bool readable = true;
    std::function<void()> onStatus = [] {};

private:
    std::vector<std::string>& log_;
};
