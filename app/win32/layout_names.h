#pragma once

#include <string>
#include <string_view>

namespace form1 {

// The controls and menu entries of the designer layout by their designer names ("Text12_3",
// "IntervalStart") and by id, for the window and for whatever drives it from outside.

// Throws std::invalid_argument when the layout has no such control or menu entry.
int idOf(std::wstring_view name);
// Empty when the id is neither a control's nor a menu entry's.
std::wstring nameOf(int id);

} // namespace form1
