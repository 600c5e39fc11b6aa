#include "app/win32/caption_font.h"

#include <cwchar>
#include <vector>

#include "app/win32/caption_layout.h"
#include "app/win32/scaled_layout.h"

namespace {

// Windows' own Japanese UI faces, then those a Linux desktop offers under Wine.
constexpr const wchar_t* kFamilies[] = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic",
                                        L"Noto Sans CJK JP", L"IPAPGothic"};
// 8 points, as the designer file sets it, down to 6.75 points; pixels at 96 dots per inch.
constexpr int kLargestPixels = 11;
constexpr int kSmallestPixels = 9;

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool installed(HDC dc, const wchar_t* family) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, family, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

HFONT makeFont(const wchar_t* family, int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, family);
}

bool everyCaptionReadable(HDC dc, HFONT font, const std::vector<ControlEntry>& layout) {
    const HGDIOBJ previous = SelectObject(dc, font);
    bool readable = true;
    for (const auto& c : layout) {
        if (c.kind == ControlKind::Label &&
            !captionReadable(layOutCaption(dc, c, layout), c, layout)) {
            readable = false;
            break;
        }
    }
    SelectObject(dc, previous);
    return readable;
}

} // namespace

HFONT createCaptionFont(UINT dpi) {
    const std::vector<ControlEntry> layout = layoutAt(dpi);
    HDC dc = GetDC(nullptr);
    const wchar_t* firstInstalled = nullptr;
    HFONT chosen = nullptr;
    for (const wchar_t* family : kFamilies) {
        if (chosen != nullptr || !installed(dc, family)) {
            continue;
        }
        if (firstInstalled == nullptr) {
            firstInstalled = family;
        }
        for (int pixels = scaled(kLargestPixels, dpi);
             pixels >= scaled(kSmallestPixels, dpi) && chosen == nullptr; --pixels) {
            HFONT font = makeFont(family, pixels);
            if (everyCaptionReadable(dc, font, layout)) {
                chosen = font;
            } else {
                DeleteObject(font);
            }
        }
    }
    ReleaseDC(nullptr, dc);
    if (chosen != nullptr) {
        return chosen;
    }
    return makeFont(firstInstalled != nullptr ? firstInstalled : L"MS Shell Dlg 2",
                    scaled(kSmallestPixels, dpi));
}
