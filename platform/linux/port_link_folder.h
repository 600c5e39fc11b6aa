#pragma once

#include <string>

// The port-link folder: where COMn links to serial devices live (the simulator's, or a
// user's own mapping). $XDG_RUNTIME_DIR/kelvara/ports, else /tmp/kelvara-<uid>/ports.
namespace portlinks {

// The port-link folder path (not created).
std::string portLinkFolder();

// The per-user work folder: the port-link folder's parent.
std::string workFolder();

// A folder is trusted when it is a real directory (not a symlink) owned by this user that
// neither group nor others can write.
bool isTrustedFolder(const std::string& path);

// A link is trusted when it lies in a trusted folder and is owned by this user.
bool isTrustedLink(const std::string& linkPath);

// Creates path and its missing parents below an existing ancestor with mode 0700. Returns
// true when path exists afterwards and is trusted.
bool ensureTrustedFolder(const std::string& path);

// "<portLinkFolder>/COM<n>"
std::string linkPath(int comNumber);

} // namespace portlinks
