#!/usr/bin/env python3
"""The names of the window's controls and menu entries, read from the designer file.

Usage: ui_names.py FORM.ui OUT.h

Both windows, the session's table of event procedures and the tests name a control through
this table, so a name the designer file does not hold does not compile. A control array
element keeps the name the event procedures use ("Text12(3)") beside its designer name
("Text12_3").
"""

import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "win32"))
from ui_layout import generate  # noqa: E402

TABLES = (("kBoxes", "Box"), ("kButtons", "Button"), ("kFrames", "Frame"))


def procedure_name(designer_name):
    """ "Text12_3" is the control array element "Text12(3)"."""
    m = re.fullmatch(r"(Text\d+)_(\d+)", designer_name)
    return "%s(%s)" % m.groups() if m else designer_name


def emit(layout):
    lines = [
        "// Generated from Form1.ui by ui_names.py; edit the layout in Designer.",
        "#pragma once",
        "",
        "#include <string_view>",
        "",
        "namespace form1 {",
        "",
        "struct Named {",
        "    std::string_view name;         // as the event procedures name it",
        "    std::string_view designerName; // as the designer file names it",
        "};",
    ]
    for table, kind in TABLES:
        lines += ["", "inline constexpr Named %s[] = {" % table]
        lines += [
            '    {"%s", "%s"},' % (procedure_name(c.name), c.name)
            for c in layout.controls
            if c.kind == kind
        ]
        lines.append("};")
    lines += ["", "inline constexpr Named kMenuEntries[] = {"]
    lines += ['    {"%s", "%s"},' % (m.name, m.name) for m in layout.menu if m.name]
    lines += ["};", "", "} // namespace form1", ""]
    return "\n".join(lines)


if __name__ == "__main__":
    sys.exit(generate(sys.argv, emit, __doc__))
