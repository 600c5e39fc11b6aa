#!/usr/bin/env python3
"""The Win32 window's controls and menu, read from the designer file.

Usage: ui_layout.py FORM.ui OUT.h

Designer stays the one place where the layout is edited: this script turns the .ui into a C++
table that the Win32 window creates its controls and its menu from. The checks of the running
window import parse() from here, so they read the .ui exactly as the build does.
"""

import sys
import xml.etree.ElementTree as ET
from dataclasses import dataclass

KINDS = {
    "QGroupBox": "Frame",
    "QLabel": "Label",
    "QLineEdit": "Box",
    "QPushButton": "Button",
}

# Child-window ids: controls count up from here in document order, menu entries from the next.
FIRST_CONTROL_ID = 1000
FIRST_MENU_ID = 2000


@dataclass
class Control:
    name: str
    kind: str
    frame: str  # the frame that holds it, "" on the client area
    x: int  # pixels from the client area's top-left corner
    y: int
    width: int
    height: int
    text: str  # caption, or a box's default text
    read_only: bool
    visible: bool  # false inside a hidden frame too
    tab: int  # place in the tab walk, -1 for labels and frames
    id: int


@dataclass
class MenuEntry:
    name: str  # "" for a separator line
    text: str
    checked: bool
    id: int


@dataclass
class Layout:
    title: str
    client_width: int
    client_height: int  # without the menu bar
    menu_title: str
    controls: list
    menu: list


def _props(widget):
    return {p.get("name"): p for p in widget.findall("property")}


def _string(props, name):
    p = props.get(name)
    if p is None:
        return ""
    s = p.find("string")
    return (s.text or "") if s is not None else ""


def _bool(props, name, default):
    p = props.get(name)
    if p is None:
        return default
    return p.find("bool").text == "true"


def _rect(props):
    r = props["geometry"].find("rect")
    return tuple(int(r.find(k).text) for k in ("x", "y", "width", "height"))


def parse(ui_path):
    root = ET.parse(ui_path).getroot()
    window = root.find("widget")
    window_props = _props(window)
    _, _, width, height = _rect(window_props)
    menubar = window.find("widget[@class='QMenuBar']")
    menubar_height = _rect(_props(menubar))[3]
    tabstops = [t.text for t in root.findall("tabstops/tabstop")]

    controls = []

    def add(widget, frame, origin, shown):
        kind = KINDS.get(widget.get("class"))
        if kind is None:
            raise ValueError("no Win32 control for %s %s" % (widget.get("class"), widget.get("name")))
        props = _props(widget)
        x, y, w, h = _rect(props)
        name = widget.get("name")
        visible = shown and _bool(props, "visible", True)
        controls.append(
            Control(
                name=name,
                kind=kind,
                frame=frame,
                x=origin[0] + x,
                y=origin[1] + y,
                width=w,
                height=h,
                text=_string(props, "title" if kind == "Frame" else "text"),
                read_only=_bool(props, "readOnly", False),
                visible=visible,
                tab=tabstops.index(name) if name in tabstops else -1,
                id=FIRST_CONTROL_ID + len(controls),
            )
        )
        if kind == "Frame":
            for child in widget.findall("widget"):
                add(child, name, (origin[0] + x, origin[1] + y), visible)

    for widget in window.find("widget[@name='centralwidget']").findall("widget"):
        add(widget, "", (0, 0), True)

    focusable = [c for c in controls if c.kind in ("Box", "Button")]
    missing = sorted(c.name for c in focusable if c.tab < 0)
    if missing:
        raise ValueError("not in the tab order: " + ", ".join(missing))

    actions = {a.get("name"): _props(a) for a in window.findall("action")}
    menu_widget = menubar.find("widget[@class='QMenu']")
    menu = []
    for entry in menu_widget.findall("addaction"):
        name = entry.get("name")
        if name == "separator":
            menu.append(MenuEntry(name="", text="-", checked=False, id=0))
            continue
        props = actions[name]
        menu.append(
            MenuEntry(
                name=name,
                text=_string(props, "text"),
                checked=_bool(props, "checked", False),
                id=FIRST_MENU_ID + len(menu),
            )
        )
    return Layout(
        title=_string(window_props, "windowTitle"),
        client_width=width,
        client_height=height - menubar_height,
        menu_title=_string(_props(menu_widget), "title"),
        controls=controls,
        menu=menu,
    )


def _wide(text):
    """A C++ wide literal; every character beyond ASCII as a universal character name."""
    out = []
    for ch in text:
        if ch in '\\"':
            out.append("\\" + ch)
        elif 0x20 <= ord(ch) < 0x7F:
            out.append(ch)
        else:
            out.append("\\u%04X" % ord(ch))
    return 'L"' + "".join(out) + '"'


def _bool_cpp(value):
    return "true" if value else "false"


def emit(layout):
    lines = [
        "// Generated from Form1.ui by ui_layout.py; edit the layout in Designer.",
        "#pragma once",
        "",
        '#include "app/win32/control_entry.h"',
        "",
        "namespace form1 {",
        "",
        "inline constexpr const wchar_t* kTitle = %s;" % _wide(layout.title),
        "inline constexpr int kClientWidth = %d;" % layout.client_width,
        "inline constexpr int kClientHeight = %d;" % layout.client_height,
        "inline constexpr const wchar_t* kMenuTitle = %s;" % _wide(layout.menu_title),
        "",
        "// In document order; tab is the place in the tab walk, -1 outside it.",
        "inline constexpr ControlEntry kControls[] = {",
    ]
    for c in layout.controls:
        lines.append(
            "    {%d, %s, ControlKind::%s, %s, %d, %d, %d, %d, %s, %s, %s, %d},"
            % (
                c.id,
                _wide(c.name),
                c.kind,
                _wide(c.frame),
                c.x,
                c.y,
                c.width,
                c.height,
                _wide(c.text),
                _bool_cpp(c.read_only),
                _bool_cpp(c.visible),
                c.tab,
            )
        )
    lines += ["};", "", "// Id 0 is a separator line.", "inline constexpr MenuEntry kMenu[] = {"]
    for m in layout.menu:
        lines.append("    {%d, %s, %s, %s}," % (m.id, _wide(m.name), _wide(m.text), _bool_cpp(m.checked)))
    lines += ["};", "", "} // namespace form1", ""]
    return "\n".join(lines)


def generate(argv, emit_header, usage):
    """Writes the header that emit_header makes of the .ui: the command line FORM.ui OUT.h."""
    if len(argv) != 3:
        sys.stderr.write(usage)
        return 2
    text = emit_header(parse(argv[1]))
    with open(argv[2], "w", encoding="ascii") as out:
        out.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(generate(sys.argv, emit, __doc__))
