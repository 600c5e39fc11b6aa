#include "app/win32/caption_layout.h"

#include <cwchar>
#include <string_view>

namespace {

// A run this long is the place of a box, not spacing between words.
constexpr std::size_t kSlotBlanks = 20;

bool isBlank(wchar_t c) { return c == L' ' || c == L'\u3000'; }

bool overlaps(int a, int aEnd, int b, int bEnd) { return a < bEnd && b < aEnd; }

// Boxes and buttons on the label's line, in its frame.
bool covers(const ControlEntry& c, const ControlEntry& label) {
    return (c.kind == ControlKind::Box || c.kind == ControlKind::Button) &&
           std::wcscmp(c.frame, label.frame) == 0 &&
           overlaps(c.y, c.y + c.height, label.y, label.y + label.height) &&
           overlaps(c.x, c.x + c.width, label.x, label.x + label.width);
}

// The start of the last run of kSlotBlanks or more blanks, and its end; npos when none.
std::pair<std::size_t, std::size_t> lastSlot(std::wstring_view text) {
    std::pair<std::size_t, std::size_t> slot{std::wstring_view::npos, std::wstring_view::npos};
    std::size_t k = 0;
    while (k < text.size()) {
        const std::size_t start = k;
        while (k < text.size() && isBlank(text[k])) {
            ++k;
        }
        if (k - start >= kSlotBlanks && k < text.size()) {
            slot = {start, k};
        }
        k = k == start ? k + 1 : k;
    }
    return slot;
}

} // namespace

CaptionLayout layOutCaption(HDC dc, const ControlEntry& label,
                            std::span<const ControlEntry> layout) {
    const std::wstring_view text = label.text;
    CaptionLayout caption{std::vector<int>(text.size()), text.size(), 0};
    if (text.empty()) {
        return caption;
    }
    SIZE size{};
    int fitting = 0;
    GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), 0, &fitting,
                          caption.ends.data(), &size);
    const auto [slotStart, tail] = lastSlot(text);
    if (tail == std::wstring_view::npos || slotStart == 0) {
        return caption;
    }
    const int headEnd = caption.ends[slotStart - 1];
    const ControlEntry* box = nullptr;
    for (const auto& c : layout) {
        if (covers(c, label) && c.x - label.x >= headEnd && (box == nullptr || c.x < box->x)) {
            box = &c;
        }
    }
    if (box == nullptr) {
        return caption;
    }
    SIZE blank{};
    GetTextExtentPoint32W(dc, L" ", 1, &blank);
    const int tailX = box->x + box->width - label.x + static_cast<int>(blank.cx);
    const int shift = tailX - caption.ends[tail - 1];
    for (std::size_t k = tail; k < text.size(); ++k) {
        caption.ends[k] += shift;
    }
    caption.tail = tail;
    caption.tailX = tailX;
    return caption;
}

bool captionReadable(const CaptionLayout& caption, const ControlEntry& label,
                     std::span<const ControlEntry> layout) {
    const std::wstring_view text = label.text;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (isBlank(text[k])) {
            continue;
        }
        const int left = k == caption.tail ? caption.tailX : k == 0 ? 0 : caption.ends[k - 1];
        const int right = caption.ends[k];
        if (right > label.width) {
            return false;
        }
        for (const auto& c : layout) {
            if (covers(c, label) && overlaps(c.x - label.x, c.x + c.width - label.x, left, right)) {
                return false;
            }
        }
    }
    return true;
}
