#include "platform/linux/com_name_table.h"

#include <climits>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/port_link_folder.h"

namespace {

constexpr int kFirstCom = 1;
constexpr int kLastCom = 128;
constexpr int kTableBlock = 32;

std::string realPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

// The link's target text, made absolute against the link's folder. It is resolved as a path of
// its own rather than through the link, so that a redirected /dev (a test's device tree) is
// honoured as well.
std::string linkTarget(const std::string& folder, const std::string& link) {
    char target[PATH_MAX];
    const ssize_t length = readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof target)) {
        return {};
    }
    std::string text(target, static_cast<std::size_t>(length));
    return text.front() == '/' ? text : folder + "/" + text;
}

std::string defaultDevice(int comNumber) {
    static const char* const kBlocks[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM"};
    const int block = (comNumber - kFirstCom) / kTableBlock;
    if (block >= static_cast<int>(std::size(kBlocks))) {
        return {};
    }
    return kBlocks[block] + std::to_string((comNumber - kFirstCom) % kTableBlock);
}

bool isLink(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

ComNameTable::ComNameTable(std::string portLinkFolder, Scope scope)
    : folder_(std::move(portLinkFolder)), scope_(scope) {}

std::string ComNameTable::resolve(int comNumber) const {
    if (comNumber < kFirstCom || comNumber > kLastCom) {
        return {};
    }
    const std::string link = folder_ + "/COM" + std::to_string(comNumber);
    // A trusted link wins even when it points nowhere: the name is taken, its device gone.
    if (isLink(link) && portlinks::isTrustedFolder(folder_) && portlinks::isTrustedLink(link)) {
        const std::string target = linkTarget(folder_, link);
        return target.empty() ? std::string() : realPath(target);
    }
    if (scope_ == Scope::LinksOnly) {
        return {};
    }
    const std::string device = defaultDevice(comNumber);
    return device.empty() ? std::string() : realPath(device);
}

int ComNameTable::comNumberOf(const std::string& devnode) const {
    const std::string device = realPath(devnode);
    if (device.empty()) {
        return 0;
    }
    for (int n = kFirstCom; n <= kLastCom; ++n) {
        if (resolve(n) == device) {
            return n;
        }
    }
    return 0;
}
