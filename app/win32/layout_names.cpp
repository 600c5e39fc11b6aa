#include "app/win32/layout_names.h"

#include <algorithm>
#include <stdexcept>

#include "app/win32/form1_layout.h"
#include "platform/win32/utf16.h"

namespace form1 {

namespace {

// A separator line of the menu has id 0 and no name.
template <typename Entry, std::size_t N> const Entry* entryOf(const Entry (&entries)[N], int id) {
    const auto found = std::ranges::find(entries, id, &Entry::id);
    return id != 0 && found != std::end(entries) ? found : nullptr;
}

template <typename Entry, std::size_t N>
const Entry* entryNamed(const Entry (&entries)[N], std::wstring_view name) {
    const auto found = std::ranges::find(entries, name, &Entry::name);
    return !name.empty() && found != std::end(entries) ? found : nullptr;
}

} // namespace

int idOf(std::wstring_view name) {
    if (const ControlEntry* c = entryNamed(kControls, name)) {
        return c->id;
    }
    if (const MenuEntry* e = entryNamed(kMenu, name)) {
        return e->id;
    }
    throw std::invalid_argument("no control or menu entry " + win32::toUtf8(name));
}

std::wstring nameOf(int id) {
    if (const ControlEntry* c = entryOf(kControls, id)) {
        return c->name;
    }
    const MenuEntry* e = entryOf(kMenu, id);
    return e != nullptr ? e->name : L"";
}

} // namespace form1
