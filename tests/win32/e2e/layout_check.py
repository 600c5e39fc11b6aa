#!/usr/bin/env python3
"""Checks what window_driver.exe read from the running kelvara.exe against Form1.ui.

  layout_check.py layout FORM.ui DUMP DPI   client area, controls, z-order, captions, menu marks
  layout_check.py tabs FORM.ui WALK [FRAME...]   the Tab walk, FRAMEs revealed
  layout_check.py devcon APP_FOLDER      the adapter reset's runs of devcon.exe

The .ui is read by the generator's own parser, so a generator that drops or misplaces a
control, or a window that creates them otherwise, fails here. Its pixels are those of 96 dpi:
at DPI the window shows each DPI/96 times as large, give or take a pixel of rounding.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "app", "win32"))
import ui_layout  # noqa: E402

WS_VISIBLE = 0x10000000
WS_TABSTOP = 0x00010000
ES_READONLY = 0x0800
BS_TYPEMASK = 0x000F
BS_GROUPBOX = 0x7
BLANKS = " \u3000"

problems = []


def expect(condition, what):
    if not condition:
        problems.append(what)


def read_dump(path):
    rows = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            rows.setdefault(fields[0], []).append(fields[1:])
    return rows


def kind_of(cls, style):
    if cls == "Button":
        return "Frame" if style & BS_TYPEMASK == BS_GROUPBOX else "Button"
    return {"Static": "Label", "Edit": "Box"}.get(cls, cls)


def overlaps(a, a_end, b, b_end):
    return a < b_end and b < a_end


def near(got, design, dpi):
    return all(abs(g - d * dpi / 96) <= 1 for g, d in zip(got, design))


def check_layout(ui, dump, dpi):
    layout = ui_layout.parse(ui)
    rows = read_dump(dump)
    client = [int(v) for v in rows["client"][0]]
    expect(near(client, (layout.client_width, layout.client_height), dpi), "client area %s" % client)

    shown = {}
    for z, ident, cls, style, x, y, w, h, *text in rows.get("control", []):
        shown[int(ident)] = dict(
            z=int(z),
            kind=kind_of(cls, int(style)),
            style=int(style),
            rect=(int(x), int(y), int(w), int(h)),
            text="\t".join(text),
        )
    expect(
        sorted(shown) == sorted(c.id for c in layout.controls),
        "controls %s, the designer file has %s"
        % (sorted(shown), sorted(c.id for c in layout.controls)),
    )
    for c in layout.controls:
        got = shown.get(c.id)
        if got is None:
            continue
        expect(got["kind"] == c.kind, "%s is a %s" % (c.name, got["kind"]))
        expect(near(got["rect"], (c.x, c.y, c.width, c.height), dpi),
               "%s lies at %s at %d dpi" % (c.name, got["rect"], dpi))
        expect(got["text"] == c.text, "%s shows %r" % (c.name, got["text"]))
        expect(bool(got["style"] & WS_VISIBLE) == c.visible, "%s visibility" % c.name)
        expect(bool(got["style"] & WS_TABSTOP) == (c.tab >= 0), "%s tab stop" % c.name)
        if c.kind == "Box":
            expect(bool(got["style"] & ES_READONLY) == c.read_only, "%s read-only" % c.name)

    # The dialog manager walks the tab stops from the top of the z-order.
    walk = [c.name for c in sorted(layout.controls, key=lambda c: shown.get(c.id, {}).get("z", -1))
            if c.tab >= 0]
    expect(walk == [c.name for c in sorted(layout.controls, key=lambda c: c.tab) if c.tab >= 0],
           "z-order of the tab stops %s" % walk)

    # The captions against the controls where the window shows them.
    extents = {int(i): ([int(e) for e in ends.split(",")], int(tail), int(tail_x), int(missing))
               for i, ends, tail, tail_x, missing in rows.get("extent", [])}
    covers = [c for c in layout.controls if c.kind in ("Box", "Button") and c.id in shown]
    for label in (c for c in layout.controls if c.kind == "Label" and c.id in shown):
        ends, tail, tail_x, missing = extents[label.id]
        expect(missing == 0, "%s: %d characters without a glyph" % (label.name, missing))
        lx, ly, lw, lh = shown[label.id]["rect"]
        over = []
        for o in covers:
            ox, oy, ow, oh = shown[o.id]["rect"]
            if o.frame == label.frame and overlaps(oy, oy + oh, ly, ly + lh) and overlaps(ox, ox + ow, lx, lx + lw):
                over.append((o.name, ox, ox + ow))
                expect(shown[o.id]["z"] < shown[label.id]["z"], "%s lies beneath %s" % (o.name, label.name))
        drawn = []
        for k, ch in enumerate(label.text):
            left = lx + (tail_x if k == tail else ends[k - 1] if k else 0)
            if ch not in BLANKS:
                drawn.append((k, left, lx + ends[k]))
        for k, left, right in drawn:
            hidden = [name for name, ox, oright in over if overlaps(ox, oright, left, right)]
            if right > lx + lw or hidden:
                problems.append("%s: %r at %d..%d is cut off %s" % (label.name, label.text[k], left, right, hidden))
                break
        # "y = [a] x + [b]": the text after the slot reads after the box in it.
        if tail < len(label.text):
            head_end = max(r for k, _, r in drawn if k < tail)
            tail_start = min(l for k, l, _ in drawn if k >= tail)
            expect(any(head_end <= ox and oright <= tail_start for _, ox, oright in over),
                   "%s: no box between %r and %r" % (label.name, label.text[:tail].strip(), label.text[tail:]))

    marks = [tuple(m) for m in rows.get("marks", [])]
    expect(marks == [("IntervalStart", "1", "0"), ("IntervalStop", "0", "1")],
           "check marks of Interval Start / Stop after each: %s" % marks)


def check_tabs(ui, walk_file, revealed):
    layout = ui_layout.parse(ui)
    cycle = [c.name for c in sorted(layout.controls, key=lambda c: c.tab)
             if c.tab >= 0 and (c.visible or c.frame in revealed)]
    with open(walk_file, encoding="utf-8") as f:
        walk = [line.rstrip("\n").split("\t")[1] for line in f if line.startswith("focus\t")]
    expect(len(walk) > len(cycle), "a walk of %d steps for %d stops" % (len(walk) - 1, len(cycle)))
    for a, b in zip(walk, walk[1:]):
        if a not in cycle:
            problems.append("focus on %s" % a)
            break
        expected = cycle[(cycle.index(a) + 1) % len(cycle)]
        if b != expected:
            problems.append("Tab from %s went to %s, not %s" % (a, b, expected))
            break


def check_devcon(app):
    with open(os.path.join(app, "fake-devcon.log"), encoding="utf-8", errors="replace") as f:
        runs = [line.rstrip("\r\n") for line in f if line.strip()]
    adapter = "@USB\\VID_1A86&PID_7523\\SIM3"
    expect(runs[:3] == ["find USB*", "disable " + adapter, "status USB*"]
           and "enable " + adapter in runs[3:] and runs[-1] == "status USB*",
           "device console runs %s" % runs)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    if argv[1] == "layout":
        check_layout(argv[2], argv[3], int(argv[4]))
    elif argv[1] == "tabs":
        check_tabs(argv[2], argv[3], set(argv[4:]))
    elif argv[1] == "devcon":
        check_devcon(argv[2])
    for p in problems:
        print("FAIL:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
