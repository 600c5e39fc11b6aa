#pragma once

#include <string>

// The platform's COM numbering. COMn (1..128) resolves, first match wins, to
// (1) the trusted link COMn in the port-link folder, then
// (2) the default table: COM1-32 /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31,
//     COM65-96 /dev/ttyACM0-31; COM97-128 only through a link.
class ComNameTable {
public:
    enum class Scope {
        Full,      // links, then the default table
        LinksOnly, // links only: tests never probe a host serial port
    };

    ComNameTable(std::string portLinkFolder, Scope scope);

    // The device path behind COMn (the link's target, fully resolved), or the empty text when
    // no existing device stands behind the name.
    std::string resolve(int comNumber) const;

    // The table read backwards: the lowest n whose name resolves to devnode (compared after
    // resolving symlinks), or 0.
    int comNumberOf(const std::string& devnode) const;

private:
    std::string folder_;
    Scope scope_;
};
