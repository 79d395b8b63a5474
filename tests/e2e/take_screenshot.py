#!/usr/bin/env python3
"""Takes the pictures of the main window shown in the README (not a test).

Starts the notebook under its own Xvfb display in a temporary folder, types a
few notes and saves the window as PNG (needs xwd and netpbm). With --day the
notebook starts on that day (through faketime), with notes for the Spring
Festival week of 2024 when the day is in it.

Usage: take_screenshot.py [--day YYYY-MM-DD] PATH/TO/qnweeknote OUTPUT.png
"""

import datetime
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

# The week of 2024-02-12, whose headers all carry 休 (and Sunday's 班).
HOLIDAY_NOTES = {
    1: ["初三 回娘家拜年", "带茶叶、点心"],
    2: ["同学聚会 18:00"],
    3: ["破五 包饺子 √"],
    4: ["逛庙会", "给爸妈买药"],
    5: ["整理开工计划"],
    6: ["周六 收拾行李", "周日 调休上班"],
}


def main():
    day = None
    if len(sys.argv) >= 3 and sys.argv[1] == "--day":
        day = datetime.date.fromisoformat(sys.argv[2])
        del sys.argv[1:3]
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    output = os.path.abspath(sys.argv.pop())
    notes = NOTES
    if day and datetime.date(2024, 2, 12) <= day <= datetime.date(2024, 2, 18):
        notes = HOLIDAY_NOTES

    def scenario(s):
        if day:
            # The clock starts at nine on that day and runs on; timers keep
            # the real monotonic clock.
            s.launcher = ["faketime", "-m", "--exclude-monotonic", f"{day.isoformat()} 09:00:00"]
        window = s.start_main()
        for box, lines in notes.items():
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
