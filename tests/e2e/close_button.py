#!/usr/bin/env python3
"""The close button ends the program and records the window's geometry in
Data/FormSize.ini; the next start puts the window back there.

First start on a 1024 x 768 screen: 906 x 540 at (59, 99). The window is
then dragged by its background before it is closed.
"""

import sys
import time

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

DRAG = (-40, 30)
BACKGROUND = (700, 40)  # an empty spot of the top bar


def scenario(s):
    window = s.start_main()
    qn.check(s.geometry(window) == (59, 99, 906, 540), f"first start geometry {s.geometry(window)}")
    lines = s.read_lines("FormSize.ini")
    qn.check(lines[:5] == ["1", "906", "540", "59", "99"], f"FormSize.ini after the first start: {lines}")

    x, y, _, _ = s.geometry(window)
    s.xdotool("mousemove", x + BACKGROUND[0], y + BACKGROUND[1])
    s.xdotool("mousedown", 1)
    for step in range(1, 11):
        s.xdotool("mousemove", x + BACKGROUND[0] + DRAG[0] * step // 10,
                  y + BACKGROUND[1] + DRAG[1] * step // 10)
        time.sleep(0.03)
    s.xdotool("mouseup", 1)
    moved = (59 + DRAG[0], 99 + DRAG[1], 906, 540)
    qn.wait_for("the window dragged", lambda: s.geometry(window) == moved)

    s.close_by_button(window)
    code = s.wait_app_exit()
    qn.check(code == 0, f"the close button ended the program with code {code}")
    lines = s.read_lines("FormSize.ini")
    # Without a month line read at start-up, the sixth line is "4".
    qn.check(lines[:6] == ["1", "906", "540", str(moved[0]), str(moved[1]), "4"],
             f"FormSize.ini after closing: {lines}")

    window = s.start_main()
    qn.check(s.geometry(window) == moved, f"restarted at {s.geometry(window)}, expected {moved}")


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
