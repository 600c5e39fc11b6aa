#include "tools/devcon/remembered_names.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/linux/port_link_folder.h"

namespace {

// One device a line: "<id>\t<name>". Ids and names never hold control characters.
constexpr const char* kFileName = "disabled-devices";

std::string filePath(const std::string& folder) { return folder + "/" + kFileName; }

} // namespace

RememberedNames loadRememberedNames(const std::string& folder) {
    RememberedNames names;
    if (!portlinks::isTrustedFolder(folder)) {
        return names;
    }
    std::ifstream in(filePath(folder));
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos) {
            names[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    return names;
}

bool saveRememberedNames(const std::string& folder, const RememberedNames& names) {
    if (!portlinks::ensureTrustedFolder(folder)) {
        return false;
    }
    // Written aside and renamed, so a listing running meanwhile reads the old or the new file.
    const std::string path = filePath(folder);
    const std::string written = path + ".new";
    std::ofstream out(written, std::ios::trunc);
    for (const auto& [id, name] : names) {
        out << id << '\t' << name << '\n';
    }
    out.close();
    if (!out) {
        std::remove(written.c_str());
        return false;
    }
    return std::rename(written.c_str(), path.c_str()) == 0;
}
