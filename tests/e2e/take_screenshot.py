#!/usr/bin/env python3
"""Takes the picture of the main window shown in the README (not a test).

Starts the notebook under its own Xvfb display in a temporary folder, types a
few notes and saves the window as PNG (needs xwd and netpbm).

Usage: take_screenshot.py PATH/TO/qnweeknote OUTPUT.png
"""

import os
import sys
import time

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

NOTES = {
    1: ["09:30 周会", "整理本周计划 √"],
    2: ["给李老师回电话", "买菜：米、鸡蛋"],
    3: ["体检 (上午)"],
    4: ["交季度报告 X", "晚上 读书一小时"],
    5: ["同学聚会 19:00"],
    6: ["周六 爬山", "周日 大扫除"],
}


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    output = os.path.abspath(sys.argv.pop())

    def scenario(s):
        window = s.start_main()
        for box, lines in NOTES.items():
            s.click_in(window, *s.box_point(box))
            for n, line in enumerate(lines):
                if n:
                    s.key("Return")
                s.type_text(line)
        # Leave the focus and the pointer where they draw nothing.
        x, y, w, h = s.geometry(window)
        s.xdotool("mousemove", x + 600, y + 40)
        time.sleep(1.0)
        s.screenshot(output, window)

    scenario.__name__ = "screenshot"
    return qn.run(scenario)


if __name__ == "__main__":
    sys.exit(main())
