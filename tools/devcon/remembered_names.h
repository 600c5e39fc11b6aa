#pragma once

#include <map>
#include <string>

// Names of the devices this console disabled, by instance id. A disabled adapter loses its tty
// and with it its COM name, so the listings take the name it had from here.
using RememberedNames = std::map<std::string, std::string>;

// The names kept in folder; none when the folder is not trusted or holds no file.
RememberedNames loadRememberedNames(const std::string& folder);

// Replaces the kept names, creating folder (0700) when missing. False when folder is not
// trusted or cannot be written.
bool saveRememberedNames(const std::string& folder, const RememberedNames& names);
