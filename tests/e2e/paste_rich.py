#!/usr/bin/env python3
"""Pasting a web page's rich HTML into a box stores exactly what the box shows.

A heading, a table, a list, a background colour, bold red text and a picture
(pointing at /dev/zero) go onto the X clipboard as text/html; Ctrl+V in
Tuesday's box stores them as text, tab-separated table rows and lines, with
no object marks. After another week and back the box holds the same note:
typing at its end stores the note plus the typed character. Chinese plain
text pasted into Wednesday's box is stored as it was.
"""

import datetime
import sys

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

# Wednesday cells of the second and fourth rows: days of the shown month in
# every month, two weeks apart.
FIRST_CELL = (4, 2)
SECOND_CELL = (4, 4)
BLANK = 0.003
WRITTEN = 0.03

HTML = ("<html><body><!--StartFragment-->"
        "<h1>周会纪要</h1>"
        "<p style=\"background-color:#ffff00\">时间：<b style=\"color:#ff0000\">上午九点</b></p>"
        "<table border=\"1\"><tr><th>事项</th><th>负责人</th></tr><tr><td>预算</td><td>李明</td></tr></table>"
        "<ul><li>带电脑</li><li>准备报告</li></ul>"
        "<img src=\"file:///dev/zero\" width=\"50\" height=\"50\">"
        "<p>完</p><!--EndFragment--></body></html>")
SHOWN = "周会纪要\r\n时间：上午九点\r\n事项\t负责人\r\n预算\t李明\r\n带电脑\r\n准备报告\r\n完"
PLAIN = "周末：爬山，带水"


def note(s, key):
    return s.notes([key]).get(key, (b"", None))


def week_of_rows(s, known):
    """The Monday of the one week whose six rows appeared since `known`."""
    added = sorted(set(s.all_keys()) - set(known))
    if len(added) != 6:
        return None
    return datetime.datetime.strptime(added[0], "%Y%m%d").date()


def scenario(s):
    window = s.start_main()
    s.click_in(window, *s.calendar_cell_point(*FIRST_CELL))

    s.click_in(window, *s.box_point(2))
    s.set_clipboard(HTML, "text/html")
    s.key("ctrl+v")
    monday = qn.wait_for("the pasted note stored", lambda: week_of_rows(s, []))
    tuesday = qn.day_key(monday + datetime.timedelta(days=1))
    qn.wait_for("Tuesday's note as the box shows it", lambda: note(s, tuesday)[1] == SHOWN)
    content, plain = note(s, tuesday)
    qn.check("\ufffc" not in plain, "the stored text holds an object mark")
    qn.check(content.startswith(b"{\\rtf1") and b"\\b" in content and b"\\red255\\green0\\blue0" in content,
             f"the stored RTF lost the bold red text: {content[:300]!r}")

    # Chinese plain text through the clipboard, as every scenario puts it in.
    wednesday = qn.day_key(monday + datetime.timedelta(days=2))
    s.click_in(window, *s.box_point(3))
    s.enter_text(PLAIN)
    qn.wait_for("Wednesday's pasted text stored", lambda: note(s, wednesday)[1] == PLAIN)

    # Another week, then back: the box shows what was stored.
    s.click_in(window, *s.calendar_cell_point(*SECOND_CELL))
    qn.wait_for("Tuesday's box blank in the other week", lambda: s.box_ink(window, 2) < BLANK)
    s.click_in(window, *s.calendar_cell_point(*FIRST_CELL))
    qn.wait_for("Tuesday's note on screen again", lambda: s.box_ink(window, 2) > WRITTEN)
    s.click_in(window, *s.box_point(2))
    s.key("ctrl+End")
    s.type_text("!")
    qn.wait_for("the reloaded note extended", lambda: note(s, tuesday)[1] == SHOWN + "!")
    qn.check(note(s, wednesday)[1] == PLAIN, "Wednesday's note changed")


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
