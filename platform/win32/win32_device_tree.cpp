#include "platform/win32/win32_device_tree.h"

#include <windows.h>

#include <cfgmgr32.h>

#include "platform/win32/utf16.h"

namespace {

// A device may arrive between asking the list's size and reading it.
constexpr int kListTries = 3;

std::optional<DEVINST> locate(const std::string& id) {
    std::wstring wide = win32::toUtf16(id);
    DEVINST node = 0;
    if (CM_Locate_DevNodeW(&node, wide.data(), CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS) {
        return std::nullopt;
    }
    return node;
}

std::optional<std::string> idOf(DEVINST node) {
    WCHAR id[MAX_DEVICE_ID_LEN + 1] = {};
    if (CM_Get_Device_IDW(node, id, MAX_DEVICE_ID_LEN + 1, 0) != CR_SUCCESS) {
        return std::nullopt;
    }
    return win32::toUtf8(id);
}

// The ids of every present device node, each ended by a NUL.
std::wstring presentIds() {
    for (int i = 0; i < kListTries; ++i) {
        ULONG size = 0;
        if (CM_Get_Device_ID_List_SizeW(&size, nullptr, CM_GETIDLIST_FILTER_PRESENT) !=
            CR_SUCCESS) {
            return {};
        }
        std::wstring ids(size, L'\0');
        const CONFIGRET answer =
            CM_Get_Device_ID_ListW(nullptr, ids.data(), size, CM_GETIDLIST_FILTER_PRESENT);
        if (answer == CR_SUCCESS) {
            return ids;
        }
        if (answer != CR_BUFFER_SMALL) {
            return {};
        }
    }
    return {};
}

// The PortName in the node's "Device Parameters" key; empty when it has none.
std::wstring portNameOf(DEVINST node) {
    HKEY key = nullptr;
    if (CM_Open_DevNode_Key(node, KEY_QUERY_VALUE, 0, RegDisposition_OpenExisting, &key,
                            CM_REGISTRY_HARDWARE) != CR_SUCCESS) {
        return {};
    }
    WCHAR name[64] = {};
    DWORD type = 0;
    DWORD bytes = sizeof name - sizeof name[0];
    const LSTATUS read =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &bytes);
    RegCloseKey(key);
    return read == ERROR_SUCCESS && type == REG_SZ ? std::wstring(name) : std::wstring();
}

} // namespace

std::vector<DeviceTree::Port> Win32DeviceTree::ports() {
    std::vector<Port> found;
    const std::wstring ids = presentIds();
    for (std::size_t at = 0; at < ids.size() && ids[at] != L'\0';) {
        const std::wstring id = ids.c_str() + at;
        at += id.size() + 1;
        const auto node = locate(win32::toUtf8(id));
        const std::wstring name = node ? portNameOf(*node) : std::wstring();
        if (!name.empty()) {
            found.push_back({win32::toUtf8(id), win32::toUtf8(name)});
        }
    }
    return found;
}

std::optional<std::string> Win32DeviceTree::parent(const std::string& id) {
    const auto node = locate(id);
    DEVINST up = 0;
    if (!node || CM_Get_Parent(&up, *node, 0) != CR_SUCCESS) {
        return std::nullopt;
    }
    return idOf(up);
}

uint32_t Win32DeviceTree::disable(const std::string& id) {
    const auto node = locate(id);
    return node ? CM_Disable_DevNode(*node, CM_DISABLE_UI_NOT_OK) : CR_NO_SUCH_DEVNODE;
}

uint32_t Win32DeviceTree::enable(const std::string& id) {
    const auto node = locate(id);
    return node ? CM_Enable_DevNode(*node, 0) : CR_NO_SUCH_DEVNODE;
}

std::optional<DeviceTree::Status> Win32DeviceTree::status(const std::string& id) {
    const auto node = locate(id);
    ULONG state = 0;
    ULONG problem = 0;
    if (!node || CM_Get_DevNode_Status(&state, &problem, *node, 0) != CR_SUCCESS) {
        return std::nullopt;
    }
    Status status;
    status.started = (state & DN_STARTED) != 0;
    if ((state & DN_HAS_PROBLEM) != 0) {
        status.problem = problem;
    }
    return status;
}
