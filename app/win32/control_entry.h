#pragma once

// One control of the window as the designer file lays it out, in pixels of the client area.
enum class ControlKind { Frame, Label, Box, Button };

struct ControlEntry {
    int id;
    const wchar_t* name;
    ControlKind kind;
    const wchar_t* frame; // the frame that holds it, empty on the client area
    int x;
    int y;
    int width;
    int height;
    const wchar_t* text; // caption, or a box's default text
    bool readOnly;
    bool visible;
    int tab; // place in the tab walk, -1 outside it
};

// One entry of the drop-down menu; id 0 is a separator line.
struct MenuEntry {
    int id;
    const wchar_t* name;
    const wchar_t* text;
    bool checked;
};
